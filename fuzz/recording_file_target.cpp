// A recording file through the load of Open: read and checked, the image taken over only when
// the file is whole, the measurements counted, the decode, then everything the window shows.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>
#include <span>

#include "files/recording_file.h"
#include "fuzz/fuzz_targets.h"
#include "recording/decoder.h"
#include "views/redraw.h"
#include "views/screen_sizes.h"
#include "analysis/statistics.h"

namespace pulvitra::fuzz {
namespace {


constexpr char kMagic[] = "KORDAMAT File";  // what every recording file begins with
constexpr std::size_t kMagicLength = 13;

void check_read_status(const RecordingFile& file, const std::uint8_t* data, std::size_t size) {
  const bool whole = size >= static_cast<std::size_t>(kRecordingFileSize);
  const bool magic = size >= kMagicLength && std::equal(kMagic, kMagic + kMagicLength, data);
  switch (file.status) {
    case ReadStatus::Ok:
      require(whole && magic && file.header.magic_ok, "Ok exactly for a whole file with the magic");
      require(file.image.size() == kImageSize, "an Ok file gives 32768 image bytes");
      require(std::equal(file.image.begin(), file.image.end(), reinterpret_cast<const char*>(data) + kHeaderSize),
              "the image is the file's bytes after the header");
      break;
    case ReadStatus::TooShort:
      require(!whole && magic, "TooShort exactly for a short file with the magic");
      require(file.bytes_found == static_cast<qint64>(size), "TooShort counts the file's bytes");
      require(file.image.isEmpty(), "nothing of a short file is taken over");
      break;
    case ReadStatus::NotARecording:
      require(!magic && !file.header.magic_ok && file.image.isEmpty(), "exactly a file without the magic is none");
      break;
    default:
      require(false, "a readable scratch file is never CannotOpen or ReadError");
  }
  require(file.header.fields.sex >= kSexNone && file.header.fields.sex <= kSexMale, "sex is none, female or male");
  require(file.header.fields.age >= 0 && file.header.fields.age <= 255, "the age is a byte");
}

void walk_every_page(const TEKG& ekg) {
  PageReader reader;
  for (int page = 0; page <= kPageCount + 1; ++page) {
    reader.start_page(page);
    int samples = 0;
    while (!reader.PageEnd) {
      const std::uint8_t sample = NextPageSample(ekg, reader);
      // Codes 251..255 come back as samples from column 269 on, so only the end marks 0.
      require(!reader.PageEnd || sample == 0, "the end of a page reads as 0");
      require(reader.PageEnd || reader.ReadPos <= kPageBytes, "the reader stays on its page");
      require(++samples <= 2 * kPageBytes, "a page ends within its bytes");
    }
    if (page < 1 || page > kPageCount) require(samples <= 1, "a page outside 1..180 is empty");
  }
}

void check_statistics(const TEKG& ekg) {
  const std::span<const float> rates(ekg.BeatRate.data() + 1, ekg.BeatCount);
  constexpr int kLimits[][2] = {{15, 90}, {90, 15}, {30, 50}, {40, 40}, {15, 16}, {60, 90}};
  for (const auto& limits : kLimits) {
    const BeatStatistics stats = beat_statistics(rates, limits[0], limits[1]);
    int binned = 0;
    for (int k = kFirstBin; k <= kLastBin; ++k) binned += stats.HistCount[k];
    require(binned <= ekg.BeatCount, "no beat is counted in two bins");
    require(stats.n >= 0 && stats.n <= ekg.BeatCount, "the beats between the limits are beats of the recording");
    require(stats.present == (stats.n > 1), "figures exist exactly for more than one beat");
    if (!stats.present) continue;
    const float lower = 2.0f * static_cast<float>(stats.StatLower);
    const float upper = 2.0f * static_cast<float>(stats.StatUpper);
    require(stats.M >= lower * 0.999f && stats.M <= upper * 1.001f, "the mean lies between the limits");
    require(std::isfinite(stats.SDr) && stats.SDr >= 0.0f, "the rate deviation is a finite figure");
    require(std::isfinite(stats.SDp) && stats.SDp >= 0.0f, "the period deviation is a finite figure");
  }
}

void redraw_on_screen_images(TEKG& ekg) {
  auto image = [](ImageSize size) { return QImage(size.width, size.height, QImage::Format_RGB32); };
  QImage zoom = image(kZoomImageSize), overview = image(kOverviewImageSize), trend = image(kTrendImageSize),
         histogram = image(kHistogramImageSize), lorenz = image(kLorenzImageSize);
  ViewTarget target;
  target.screen = {&zoom, &overview, &trend, &histogram, &lorenz};
  ViewState state;
  redraw_views(kViewAll, target, ekg, state);
  state.scale = 1;
  state.axis = 1;
  state.overview_pos = overview_last_position(state.rows());
  state.zoom_pos = kZoomLastPage;
  state.zoom_factor = kZoomFactorMin;
  redraw_views(kViewAll, target, ekg, state);
}

}  // namespace

int fuzz_recording_file(const std::uint8_t* data, std::size_t size) {
  const RecordingFile file = read_recording_file(scratch_file("fuzz.pul", data, size));
  check_read_status(file, data, size);
  if (file.status != ReadStatus::Ok) return 0;

  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  DecoderState decoder;
  decoder.FixedInterval = file.header.fixed_interval;
  copy_image(file.image, *ekg);
  const auto image = ekg->Image;
  const int measurements = CountMeasurements(*ekg);
  require(measurements >= 0 && measurements <= kImageSize / 2, "measurements start at most every second byte");
  DecodeRecording(*ekg, decoder);
  require(ekg->BeatCount <= kMaxBeats, "the beat count fits the beat table");
  walk_every_page(*ekg);
  check_statistics(*ekg);
  redraw_on_screen_images(*ekg);
  require(ekg->Image == image, "decoding and drawing leave the image as it was loaded");
  return 0;
}

}  // namespace pulvitra::fuzz
