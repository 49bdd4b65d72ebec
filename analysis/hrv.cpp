#include "analysis/hrv.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analysis/beat_selection.h"
#include "recording/tekg.h"
#include "analysis/statistics.h"

namespace pulvitra {

namespace {

constexpr double kNn50Threshold = 50.0;

double mean_of(const std::vector<double>& values) {
  double sum = 0.0;
  for (const double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

// Sample standard deviation; the caller ensures at least two values.
double sample_sd(const std::vector<double>& values) {
  const double mean = mean_of(values);
  double squares = 0.0;
  for (const double v : values) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

}  // namespace

long rr_interval_ms(float rate) { return round_even(60000.0 / static_cast<double>(rate)); }

HeartRateVariability heart_rate_variability(std::span<const float> rates, std::span<const std::uint8_t> bits,
                                            int limit1, int limit2) {
  const int lower = std::min(limit1, limit2);
  const int upper = std::max(limit1, limit2);
  HeartRateVariability hrv;
  std::vector<double> rr;
  std::vector<double> diffs;
  float lowest = 0.0f;
  float highest = 0.0f;
  bool previous_selected = false;
  double previous_rr = 0.0;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    const float rate = rates[i];
    const bool selected = beat_selected(rate, lower, upper);
    if (selected) {
      // Selected rates exceed 30 per minute, so the division is safe.
      const double interval = static_cast<double>(rr_interval_ms(rate));
      const bool starts_measurement = i < bits.size() && (bits[i] & kFlagStartRecord) != 0;
      if (previous_selected && !starts_measurement) diffs.push_back(interval - previous_rr);
      if (rr.empty() || rate < lowest) lowest = rate;
      if (rr.empty() || rate > highest) highest = rate;
      rr.push_back(interval);
      previous_rr = interval;
    }
    previous_selected = selected;
  }
  hrv.n = static_cast<int>(rr.size());
  hrv.differences = static_cast<int>(diffs.size());

  if (rr.size() >= 2) {
    hrv.mean_rr_ms = mean_of(rr);
    hrv.sdnn_ms = sample_sd(rr);
    hrv.rate_from_mean_rr = 60000.0 / *hrv.mean_rr_ms;
    hrv.min_rate = lowest;
    hrv.max_rate = highest;
  }
  if (diffs.size() >= 2) {
    double squares = 0.0;
    int over = 0;
    for (const double d : diffs) {
      squares += d * d;
      if (std::abs(d) > kNn50Threshold) ++over;
    }
    const double count = static_cast<double>(diffs.size());
    hrv.rmssd_ms = std::sqrt(squares / count);
    hrv.sdsd_ms = sample_sd(diffs);
    hrv.nn50 = over;
    hrv.pnn50_percent = 100.0 * over / count;
    hrv.sd1_ms = *hrv.sdsd_ms / std::sqrt(2.0);
    // Differences exist only between two selected beats, so SDNN exists here too.
    const double radicand = 2.0 * *hrv.sdnn_ms * *hrv.sdnn_ms - *hrv.sd1_ms * *hrv.sd1_ms;
    if (radicand >= 0.0) hrv.sd2_ms = std::sqrt(radicand);
    if (hrv.sd2_ms && *hrv.sd2_ms > 0.0) hrv.sd1_sd2 = *hrv.sd1_ms / *hrv.sd2_ms;
  }
  return hrv;
}

}  // namespace pulvitra
