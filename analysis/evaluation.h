// The evaluation of a recording between two limits: the histogram with its beat statistics and
// the heart-rate variability of the same beats, computed once and read by every page, report
// and command that shows them.
#pragma once

#include "analysis/hrv.h"
#include "analysis/statistics.h"
#include "recording/tekg.h"

namespace pulvitra {

struct Evaluation {
  BeatStatistics statistics;
  HeartRateVariability variability;
};

// The recording's beats BeatRate[1..BeatCount] (at most kMaxBeats) between the two limit
// positions, given in either order.
Evaluation evaluate(const TEKG& ekg, int limit1, int limit2);

}  // namespace pulvitra
