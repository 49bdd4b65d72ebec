#include "files/export_timeline.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/beat_selection.h"

namespace pulvitra {

ExportTimeline export_timeline(const TEKG& ekg, std::uint8_t fixed_interval, const DecodeResult& decoded) {
  ExportTimeline out;
  ImageSamples samples = read_image_samples(ekg);
  out.samples = std::move(samples.values);

  // Counted beats with a known position; a table that does not match the decode gives fewer.
  const int count = std::min({static_cast<int>(ekg.BeatCount), kMaxBeats, static_cast<int>(decoded.kept_positions.size()),
                              static_cast<int>(decoded.kept_intervals.size())});
  out.interval_ms = sample_interval(fixed_interval, std::span(decoded.kept_intervals).first(count));
  out.beats.reserve(count);
  for (int k = 1; k <= count; ++k) {
    ExportBeat beat;
    beat.number = k;
    // Beats are detected at samples, so the position is one of them; a beat found past the
    // last sample lies where the next sample would.
    const auto& positions = samples.positions;
    const auto index = std::lower_bound(positions.begin(), positions.end(), decoded.kept_positions[k - 1]) - positions.begin();
    beat.time_ms = static_cast<long long>(index) * out.interval_ms;
    beat.rate = ekg.BeatRate[k];
    beat.rr_ms = beat.rate > 0.0f ? static_cast<int>(std::nearbyint(60000.0 / beat.rate)) : 0;
    beat.flags = ekg.BeatFlags[k];
    out.beats.push_back(beat);
  }
  return out;
}

bool rate_within_limits(float rate, int limit1, int limit2) {
  const int lower = std::min(limit1, limit2);
  const int upper = std::max(limit1, limit2);
  return beat_selected(rate, lower, upper);
}

}  // namespace pulvitra
