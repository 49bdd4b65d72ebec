#include "analysis/evaluation.h"

#include <algorithm>
#include <span>

namespace pulvitra {

Evaluation evaluate(const TEKG& ekg, int limit1, int limit2) {
  // A damaged count never reads past the tables.
  const int beats = std::min<int>(ekg.BeatCount, kMaxBeats);
  const auto rates = std::span<const float>(ekg.BeatRate).subspan(1, beats);
  const auto bits = std::span<const std::uint8_t>(ekg.BeatFlags).subspan(1, beats);
  return {beat_statistics(rates, limit1, limit2), heart_rate_variability(rates, bits, limit1, limit2)};
}

}  // namespace pulvitra
