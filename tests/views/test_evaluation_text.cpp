// The statistics as the histogram page, the printed block and pulvitra-cli show them.
#include <gtest/gtest.h>

#include <vector>

#include "views/evaluation_text.h"

namespace pulvitra {
namespace {

TEST(StatisticsTexts, TwoBeatsOf60And80GiveTheKnownTexts) {
  const std::vector<float> rates = {60.0f, 80.0f};
  const StatisticsTexts texts = statistics_texts(beat_statistics(rates, 15, 90));
  EXPECT_EQ(texts.mean_rate, "70.0");
  EXPECT_EQ(texts.sd_rate, "14.1");
  EXPECT_EQ(texts.vc, "20.2");
  EXPECT_EQ(texts.mean_period, "857");  // period of the mean rate, not mean of periods
  EXPECT_EQ(texts.sd_period, "179");
}

TEST(StatisticsTexts, EmptyRecordingAfterNewHasNoTexts) {
  const std::vector<float> rates = {0.0f};  // after New the recording holds one beat of rate 0
  const StatisticsTexts texts = statistics_texts(beat_statistics(rates, 15, 90));
  EXPECT_TRUE(texts.mean_rate.empty());
  EXPECT_TRUE(texts.sd_period.empty());
}

TEST(StatisticsTexts, TextsHaveOneDecimalWidthFourAndAreNeverCut) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {{70.0, "70.0"}, {5.0, " 5.0"}, {0.04, " 0.0"}, {123.45, "123.5"},
                        {1234.56, "1234.6"}, {14.142135, "14.1"}, {0.25, " 0.2"}};
  for (const Case& c : cases) EXPECT_EQ(format_one_decimal(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace pulvitra
