// The evaluation of whole recordings: the histogram statistics and the variability of the
// same beats, as the histogram page, the Lorenz page and pulvitra-cli read them.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/evaluation.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace pulvitra {
namespace {

std::unique_ptr<TEKG> decoded(const GeneratorOptions& options) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_generated_image(generate_recording(options), *ekg);
  DecoderState decoder;
  DecodeRecording(*ekg, decoder);
  return ekg;
}

TEST(Evaluation, GeneratedRecordingsGiveTheirFigures) {
  GeneratorOptions steady;  // 75 per minute for 3 minutes, two measurements
  steady.rate = 75;
  steady.minutes = 3;
  steady.second_measurement = true;
  GeneratorOptions drifting;  // 60..170 per minute through the whole memory
  drifting.min_rate = 60;
  drifting.max_rate = 170;
  drifting.seed = 3;
  struct Case {
    const char* name;
    GeneratorOptions options;
    int limit1, limit2;
    int beats, differences;
    float mean_rate, sd_rate, sd_period;
    double mean_rr, sdnn, rmssd;
    int nn50;
    double sd1_sd2;
    float min_rate, max_rate;  // stored rates of single beats
  };
  const Case cases[] = {
      // The second measurement's start breaks one difference; the first beat has no predecessor.
      {"steady", steady, 15, 90, 224, 222, 75.0445328f, 1.07099915f, 11.4202328f, 799.6875, 11.4190709, 14.7501718, 0,
       0.849243194, 72.2891541f, 77.922081f},
      // Limits in either order: 60 .. 120 per minute; beats outside them break the differences.
      {"drifting", drifting, 60, 30, 203, 200, 77.8557892f, 11.6262541f, 94.2039566f, 784.384236, 93.1932419,
       27.7769689, 4, 0.151017581, 61.7283936f, 117.647057f},
  };
  for (const Case& c : cases) {
    const auto ekg = decoded(c.options);
    const Evaluation e = evaluate(*ekg, c.limit1, c.limit2);
    const BeatStatistics& s = e.statistics;
    const HeartRateVariability& v = e.variability;
    EXPECT_EQ(s.n, c.beats) << c.name;
    EXPECT_EQ(v.n, c.beats) << c.name;
    EXPECT_EQ(v.differences, c.differences) << c.name;
    EXPECT_FLOAT_EQ(s.M, c.mean_rate) << c.name;
    EXPECT_FLOAT_EQ(s.SDr, c.sd_rate) << c.name;
    EXPECT_FLOAT_EQ(s.SDp, c.sd_period) << c.name;
    EXPECT_NEAR(*v.mean_rr_ms, c.mean_rr, 1e-6) << c.name;
    EXPECT_NEAR(*v.sdnn_ms, c.sdnn, 1e-6) << c.name;
    EXPECT_NEAR(*v.rmssd_ms, c.rmssd, 1e-6) << c.name;
    EXPECT_EQ(*v.nn50, c.nn50) << c.name;
    EXPECT_NEAR(*v.sd1_sd2, c.sd1_sd2, 1e-6) << c.name;
    EXPECT_EQ(*v.min_rate, c.min_rate) << c.name;
    EXPECT_EQ(*v.max_rate, c.max_rate) << c.name;
  }
}

}  // namespace
}  // namespace pulvitra
