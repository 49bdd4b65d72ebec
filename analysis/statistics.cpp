#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>

#include "analysis/beat_selection.h"

namespace pulvitra {

long round_even(double value) { return std::lrint(std::nearbyint(value)); }

float beat_period(float rate) { return rate == 0.0f ? 1000.0f : 60000.0f / rate; }

namespace {

void count_bins(BeatStatistics& stats, std::span<const float> rates) {
  for (const float rate : rates) {
    if (!in_histogram_range(rate)) continue;
    const long bin = round_even(5.0 * rate / 10.0);
    if (bin >= kFirstBin && bin <= kLastBin) ++stats.HistCount[bin];
  }
}

}  // namespace

BeatStatistics beat_statistics(std::span<const float> rates, int limit1, int limit2) {
  BeatStatistics stats;
  stats.StatLower = std::min(limit1, limit2);
  stats.StatUpper = std::max(limit1, limit2);
  count_bins(stats, rates);

  // Sums stay in single precision, rounded after every addition, as the figures on paper
  // have always been computed.
  float sum = 0.0f;
  for (const float rate : rates) {
    if (!beat_selected(rate, stats.StatLower, stats.StatUpper)) continue;
    ++stats.n;
    sum = sum + rate;
  }
  if (stats.n <= 1) return stats;

  stats.M = sum / static_cast<float>(stats.n);
  const double mean = stats.M;
  const double mean_period = 60000.0 / mean;
  float squares_rate = 0.0f;
  float squares_period = 0.0f;
  for (const float rate : rates) {
    if (!beat_selected(rate, stats.StatLower, stats.StatUpper)) continue;
    const double rate_diff = mean - rate;
    const double period_diff = mean_period - 60000.0 / rate;
    squares_rate = static_cast<float>(squares_rate + rate_diff * rate_diff);
    squares_period = static_cast<float>(squares_period + period_diff * period_diff);
  }
  const double degrees = stats.n - 1;
  stats.SDr = static_cast<float>(std::sqrt(squares_rate / degrees));
  stats.SDp = static_cast<float>(std::sqrt(squares_period / degrees));
  stats.present = true;
  return stats;
}

}  // namespace pulvitra
