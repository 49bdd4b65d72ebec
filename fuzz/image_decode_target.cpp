// The device image decoded twice with the decoder's state carried over, as the window does
// when the same recording is decoded again (after an upload, after Open of the next file).
#include <algorithm>
#include <memory>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "recording/decoder.h"

namespace pulvitra::fuzz {
namespace {

// The pages as the views read them, with the marks each page leaves.
std::vector<std::uint8_t> pages_as_read(const TEKG& ekg) {
  std::vector<std::uint8_t> samples;
  PageReader reader;
  for (int page = 1; page <= kPageCount; ++page) {
    reader.start_page(page);
    while (!reader.PageEnd) samples.push_back(NextPageSample(ekg, reader));
    const DeviceMarks& m = reader.marks;
    samples.push_back(m.SawCode253 * 1 + m.SawCode254 * 2 + m.SawStartRecord * 4);
  }
  return samples;
}

void check_tables(const TEKG& ekg, const DecodeResult& result) {
  require(ekg.BeatCount <= kMaxBeats, "the beat count fits the beat table");
  const std::size_t kept = result.kept_positions.size();
  require(kept == ekg.BeatCount || (kept >= 2 && kept == ekg.BeatCount + 1u),
          "the kept positions are the counted beats, plus the last one once two were kept");
  require(std::is_sorted(result.kept_positions.begin(), result.kept_positions.end()), "beats are kept in order");
  for (std::uint16_t position : result.kept_positions)
    require(position >= 1 && position <= kImageSize, "a beat lies inside the image");
}

// A decode of a fresh recording from the same image and state: the decode depends on nothing
// else (no table left over from before).
void check_depends_on_image_and_state(TEKG& ekg, const DecoderState& before, const DecodeResult& result) {
  auto fresh = std::make_unique<TEKG>();
  clear_recording(*fresh);
  fresh->Image = ekg.Image;
  DecoderState state = before;
  const DecodeResult again = decode_recording(*fresh, state);
  require(again.kept_positions == result.kept_positions, "the same image and state keep the same beats");
  require(fresh->BeatCount == ekg.BeatCount && fresh->BeatRate == ekg.BeatRate && fresh->BeatFlags == ekg.BeatFlags,
          "the same image and state give the same beats");
  require(pages_as_read(*fresh) == pages_as_read(ekg), "... and the same pages");
}

}  // namespace

int fuzz_image_decode(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  DecoderState state;
  // The fixed interval is the header's byte, whatever it holds.
  state.FixedInterval = data[0];
  const std::size_t length = std::min<std::size_t>(size - 1, kImageSize);
  std::copy(data + 1, data + 1 + length, ekg->Image.begin() + 1);
  const auto image = ekg->Image;

  for (int decode = 1; decode <= 2; ++decode) {
    const DecoderState before = state;
    const DecodeResult result = decode_recording(*ekg, state);
    require(ekg->Image == image, "a decode leaves the image as it was");
    check_tables(*ekg, result);
    check_depends_on_image_and_state(*ekg, before, result);
  }
  return 0;
}

}  // namespace pulvitra::fuzz
