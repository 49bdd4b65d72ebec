// The beat statistics the clinician reads the diagnosis from: bins, limits and the figures.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/statistics.h"

namespace pulvitra {
namespace {

BeatStatistics stats_of(const std::vector<float>& rates, int limit1, int limit2) {
  return beat_statistics(std::span<const float>(rates), limit1, limit2);
}

TEST(BeatStatistics, TwoBeatsOf60And80GiveTheKnownFigures) {
  const BeatStatistics stats = stats_of({60.0f, 80.0f}, 15, 90);
  ASSERT_TRUE(stats.present);
  EXPECT_EQ(stats.n, 2);
  EXPECT_FLOAT_EQ(stats.M, 70.0f);
  EXPECT_NEAR(stats.SDr, 14.1421356, 1e-5);
  EXPECT_EQ(stats.HistCount[30], 1);
  EXPECT_EQ(stats.HistCount[40], 1);
}

TEST(BeatStatistics, LimitsAreStrictOnBothSides) {
  struct Case {
    std::vector<float> rates;
    int limit1, limit2;
    int n;
  };
  const Case cases[] = {
      {{60.0f, 70.0f, 80.0f}, 30, 45, 2},   // 60 = 2 x 30 is outside
      {{70.0f, 80.0f, 90.0f}, 30, 45, 2},   // 90 = 2 x 45 is outside
      {{60.1f, 89.9f}, 30, 45, 2},          // just inside on both sides
      {{70.0f, 80.0f}, 40, 40, 0},          // equal limits leave nothing inside
      {{70.0f, 150.0f}, 30, 45, 1},         // a single beat inside: no statistics
  };
  for (const Case& c : cases) {
    const BeatStatistics stats = stats_of(c.rates, c.limit1, c.limit2);
    EXPECT_EQ(stats.n, c.n) << "limits " << c.limit1 << " " << c.limit2;
    EXPECT_EQ(stats.present, c.n > 1);
  }
}

TEST(BeatStatistics, BinsRoundHalvesToTheEvenNeighbour) {
  struct Case {
    float rate;
    int bin;
  };
  // bin 0: not counted at all (rounded rate outside 40..180)
  const Case cases[] = {{41.0f, 20}, {43.0f, 22}, {40.0f, 20}, {59.0f, 30}, {61.0f, 30},
                        {180.0f, 90}, {179.0f, 90}, {39.4f, 0}, {180.6f, 0}, {35.0f, 0}};
  for (const Case& c : cases) {
    const BeatStatistics stats = stats_of({c.rate}, 15, 90);
    int total = 0;
    for (int k = kFirstBin; k <= kLastBin; ++k) total += stats.HistCount[k];
    EXPECT_EQ(total, c.bin ? 1 : 0) << "rate " << c.rate;
    if (c.bin) {
      EXPECT_EQ(stats.HistCount[c.bin], 1) << "rate " << c.rate;
    }
  }
}

TEST(BeatStatistics, EmptyRecordingAfterNewHasNoBinAndNoStatistics) {
  // After New the recording holds one beat of rate 0.
  const BeatStatistics stats = stats_of({0.0f}, 15, 90);
  for (int k = kFirstBin; k <= kLastBin; ++k) EXPECT_EQ(stats.HistCount[k], 0);
  EXPECT_FALSE(stats.present);
}

TEST(BeatStatistics, SwappedLimitsGiveTheSameStatistics) {
  const std::vector<float> rates = {62.5f, 71.0f, 74.25f, 88.0f, 95.5f, 120.0f};
  const BeatStatistics a = stats_of(rates, 30, 50);
  const BeatStatistics b = stats_of(rates, 50, 30);
  EXPECT_EQ(a.StatLower, 30);
  EXPECT_EQ(b.StatLower, 30);
  EXPECT_EQ(b.StatUpper, 50);
  EXPECT_EQ(a.n, 5);
  EXPECT_EQ(a.n, b.n);
  EXPECT_EQ(a.M, b.M);
  EXPECT_EQ(a.SDr, b.SDr);
  EXPECT_EQ(a.SDp, b.SDp);
  EXPECT_EQ(a.HistCount, b.HistCount);
}

}  // namespace
}  // namespace pulvitra
