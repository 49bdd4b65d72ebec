#include "recording/recorded_time.h"

#include <algorithm>
#include <array>

namespace pulvitra {

namespace {

constexpr std::uint8_t kEmptyMemory = 125;  // what the recorder's memory holds where nothing was recorded
constexpr std::size_t kBeatsToTellInterval = 10;

}  // namespace

int sample_interval(std::uint8_t fixed_interval, std::span<const std::uint8_t> beat_intervals) {
  if (fixed_interval != 0) return fixed_interval;
  std::array<int, 256> counts{};  // counts[0] stays 0: no beat is rated with interval 0
  for (const std::uint8_t interval : beat_intervals)
    if (interval != 0) counts[interval] += 1;
  int best = 0;
  for (int interval = 1; interval < 256; ++interval)
    if (counts[interval] > counts[best]) best = interval;  // strictly more: a tie keeps the smaller
  return best != 0 ? best : kDefaultSampleInterval;
}

long long recorded_time_ms(const TEKG& ekg, const DecoderState& state) {
  const std::vector<std::uint8_t> samples = read_image_samples(ekg).values;
  const auto last = std::find_if(samples.rbegin(), samples.rend(), [](std::uint8_t v) { return v != kEmptyMemory; });
  const auto recorded = static_cast<long long>(samples.rend() - last);
  // A handful of beats found in noise is rated with whatever the noise's stray rate markers
  // suggest: their interval counts only once there are enough of them to tell it.
  const std::vector<std::uint8_t>& intervals = state.last_decode.kept_intervals;
  std::size_t counted = std::min<std::size_t>(ekg.BeatCount, intervals.size());
  if (counted < kBeatsToTellInterval) counted = 0;
  return recorded * sample_interval(state.FixedInterval, std::span(intervals).first(counted));
}

}  // namespace pulvitra
