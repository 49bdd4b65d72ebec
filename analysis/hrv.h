// Heart-rate variability of the beats the histogram page selects: the time-domain figures
// and the Poincaré widths of their RR intervals. Plain data in, plain data out, so the
// Lorenz page, pulvitra-cli stats and summary share it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace pulvitra {

struct HeartRateVariability {
  int n = 0;            // selected beats
  int differences = 0;  // successive differences between them
  // Need two selected beats.
  std::optional<double> mean_rr_ms;
  std::optional<double> sdnn_ms;  // sample standard deviation (n - 1)
  std::optional<double> rate_from_mean_rr;  // 60000 / mean RR, per minute: not the mean of the rates
  std::optional<double> min_rate;   // lowest stored rate of the selected beats
  std::optional<double> max_rate;
  // Need two differences.
  std::optional<double> rmssd_ms;
  std::optional<double> sdsd_ms;  // sample standard deviation of the differences
  std::optional<int> nn50;        // differences larger than 50 ms either way
  std::optional<double> pnn50_percent;
  std::optional<double> sd1_ms;  // SDSD / sqrt 2
  // sqrt(2 SDNN^2 - SD1^2); absent when that is negative, which a short series or one
  // broken by measurement starts can give.
  std::optional<double> sd2_ms;
  std::optional<double> sd1_sd2;  // absent unless SD2 > 0
};

// RR interval of a beat in whole ms: 60000 / rate, to the nearest, halves to even. For the
// decoder's rates this is again the period it measured (its samples times the interval).
long rr_interval_ms(float rate);

// rates: BeatRate[1..BeatCount]; bits: BeatFlags of the same beats (missing ones count as
// none); limit1, limit2: the two limit positions in either order. A beat is selected exactly
// as the beat statistics count it. A difference is taken between neighbouring beats that are
// both selected, unless the later one begins a measurement.
HeartRateVariability heart_rate_variability(std::span<const float> rates, std::span<const std::uint8_t> bits,
                                            int limit1, int limit2);

}  // namespace pulvitra
