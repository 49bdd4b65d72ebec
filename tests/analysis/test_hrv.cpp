// Heart-rate variability of the selected beats, against figures worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "analysis/hrv.h"
#include "analysis/statistics.h"

namespace pulvitra {
namespace {

// Beats given by their RR intervals in ms: the rate the decoder would store for each.
std::vector<float> rates_of(const std::vector<int>& rr) {
  std::vector<float> rates;
  for (const int ms : rr) rates.push_back(60000.0f / static_cast<float>(ms));
  return rates;
}

HeartRateVariability hrv_of(const std::vector<float>& rates, const std::vector<std::uint8_t>& bits = {},
                            int limit1 = 15, int limit2 = 90) {
  return heart_rate_variability(rates, bits, limit1, limit2);
}

TEST(HeartRateVariability, RrIsTheDecodersPeriodAgain) {
  // The decoder stores 60000 / (samples x interval) in single precision.
  for (int period = 333; period <= 1500; ++period)
    ASSERT_EQ(rr_interval_ms(60000.0f / static_cast<float>(period)), period) << period;
  EXPECT_EQ(rr_interval_ms(70.0f), 857);  // 857.14
}

TEST(HeartRateVariability, FourBeatsGiveTheHandComputedFigures) {
  // RR 800 850 780 900: mean 832.5, squared deviations 8675; differences +50 -70 +120.
  const HeartRateVariability hrv = hrv_of(rates_of({800, 850, 780, 900}));
  EXPECT_EQ(hrv.n, 4);
  EXPECT_EQ(hrv.differences, 3);
  EXPECT_DOUBLE_EQ(*hrv.mean_rr_ms, 832.5);
  EXPECT_DOUBLE_EQ(*hrv.sdnn_ms, std::sqrt(8675.0 / 3));             // 53.77
  EXPECT_DOUBLE_EQ(*hrv.rmssd_ms, std::sqrt(21800.0 / 3));           // 85.24
  EXPECT_NEAR(*hrv.sdsd_ms, std::sqrt(18466.0 / 2 + 1.0 / 3), 1e-9);  // 96.09
  EXPECT_EQ(*hrv.nn50, 2);  // 50 itself does not count
  EXPECT_NEAR(*hrv.pnn50_percent, 66.666666667, 1e-8);
  EXPECT_NEAR(*hrv.sd1_ms, std::sqrt(4616.0 + 2.0 / 3), 1e-9);   // 67.95
  EXPECT_NEAR(*hrv.sd2_ms, std::sqrt(1166.0 + 2.0 / 3), 1e-9);   // 34.16
  EXPECT_NEAR(*hrv.sd1_sd2, 1.9892569, 1e-7);
  EXPECT_NEAR(*hrv.rate_from_mean_rr, 72.072072072, 1e-8);
  EXPECT_DOUBLE_EQ(*hrv.min_rate, 60000.0f / 900.0f);
  EXPECT_DOUBLE_EQ(*hrv.max_rate, 60000.0f / 780.0f);
}

TEST(HeartRateVariability, AMeasurementStartBreaksTheDifferences) {
  // 800 900 | 700 760: the third beat begins a measurement, so +100 and +60 only.
  const HeartRateVariability hrv = hrv_of(rates_of({800, 900, 700, 760}), {0, kFlagCode254, kFlagStartRecord, 0});
  EXPECT_EQ(hrv.n, 4);
  EXPECT_EQ(hrv.differences, 2);
  EXPECT_DOUBLE_EQ(*hrv.rmssd_ms, std::sqrt((10000.0 + 3600.0) / 2));
  EXPECT_DOUBLE_EQ(*hrv.sdsd_ms, std::sqrt(800.0));  // 100 and 60 around 80
  EXPECT_EQ(*hrv.nn50, 2);
  EXPECT_DOUBLE_EQ(*hrv.pnn50_percent, 100.0);
  EXPECT_DOUBLE_EQ(*hrv.mean_rr_ms, 790.0);
}

TEST(HeartRateVariability, BeatsOutsideTheLimitsAreLeftOutAndBreakTheDifferences) {
  // Limits 30 and 45: rates strictly between 60 and 90. 600 ms (100/min) and 1000 ms
  // (60/min, on the limit) are out; only 750 -> 850 are neighbours.
  const HeartRateVariability hrv = hrv_of(rates_of({800, 600, 750, 850, 1000}), {}, 45, 30);
  EXPECT_EQ(hrv.n, 3);
  EXPECT_EQ(hrv.differences, 1);
  EXPECT_DOUBLE_EQ(*hrv.mean_rr_ms, 800.0);
  EXPECT_DOUBLE_EQ(*hrv.sdnn_ms, 50.0);
  EXPECT_DOUBLE_EQ(*hrv.min_rate, 60000.0f / 850.0f);
  EXPECT_FALSE(hrv.rmssd_ms || hrv.sdsd_ms || hrv.nn50 || hrv.pnn50_percent || hrv.sd1_ms || hrv.sd2_ms);
}

TEST(HeartRateVariability, OneOrTwoBeatsLeaveFiguresAbsent) {
  const HeartRateVariability one = hrv_of(rates_of({800}));
  EXPECT_EQ(one.n, 1);
  EXPECT_FALSE(one.mean_rr_ms || one.sdnn_ms || one.rate_from_mean_rr || one.min_rate || one.max_rate);

  const HeartRateVariability two = hrv_of(rates_of({800, 900}));
  EXPECT_EQ(two.n, 2);
  EXPECT_EQ(two.differences, 1);
  EXPECT_DOUBLE_EQ(*two.mean_rr_ms, 850.0);
  EXPECT_DOUBLE_EQ(*two.sdnn_ms, std::sqrt(5000.0));
  EXPECT_FALSE(two.rmssd_ms || two.sdsd_ms || two.nn50 || two.pnn50_percent || two.sd1_ms || two.sd1_sd2);
}

TEST(HeartRateVariability, NegativeSd2RadicandLeavesSd2Absent) {
  // 800 900 800: SDNN^2 = 3333.3, SD1^2 = 20000 / 2 = 10000 > 2 SDNN^2.
  const HeartRateVariability hrv = hrv_of(rates_of({800, 900, 800}));
  EXPECT_DOUBLE_EQ(*hrv.sd1_ms, 100.0);
  EXPECT_FALSE(hrv.sd2_ms);
  EXPECT_FALSE(hrv.sd1_sd2);
}

TEST(HeartRateVariability, SelectsTheBeatsOfTheBeatStatistics) {
  GeneratorOptions options;
  options.rate = 75.0;  // with slight beat-to-beat variation
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_generated_image(generate_recording(options), *ekg);
  DecoderState state;
  DecodeRecording(*ekg, state);
  const std::span<const float> rates = std::span<const float>(ekg->BeatRate).subspan(1, ekg->BeatCount);
  const std::span<const std::uint8_t> bits = std::span<const std::uint8_t>(ekg->BeatFlags).subspan(1, ekg->BeatCount);
  for (const auto& [p1, p2] : {std::pair{15, 90}, std::pair{37, 39}}) {
    const BeatStatistics stats = beat_statistics(rates, p1, p2);
    const HeartRateVariability hrv = heart_rate_variability(rates, bits, p1, p2);
    ASSERT_GT(stats.n, 100);
    EXPECT_EQ(hrv.n, stats.n);
    // 60000 / mean RR is the harmonic mean of the rates: a little below their mean M, by
    // about the variance over M.
    const double expected = stats.M - stats.SDr * stats.SDr / stats.M;
    EXPECT_LT(*hrv.rate_from_mean_rr, stats.M);
    EXPECT_NEAR(*hrv.rate_from_mean_rr, expected, 0.02 * stats.SDr) << p1 << " " << p2;
  }
}

}  // namespace
}  // namespace pulvitra
