// The heart-rate variability figures under the names scripts read them by, in the order
// pulvitra-cli prints them (stats as JSON members, summary as CSV columns).
#pragma once

#include <optional>
#include <vector>

#include "views/hrv.h"

namespace pulvitra::cli {

struct HrvField {
  const char* key;
  // The figure, or nothing where it is absent; counts come out as whole numbers.
  std::optional<double> (*get)(const HeartRateVariability&);
};

// n, mean_rr_ms, sdnn_ms, rmssd_ms, sdsd_ms, nn50, pnn50_percent, sd1_ms, sd2_ms, sd1_sd2,
// rate_from_mean_rr, min_rate, max_rate.
const std::vector<HrvField>& hrv_fields();

}  // namespace pulvitra::cli
