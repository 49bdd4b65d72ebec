// The synthetic recordings that the demo, the simulated recorder and the tests use: valid
// recorder images whose beats the decoder finds at the rates they were made with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <string>

#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace pulvitra {
namespace {

struct Decoded {
  std::unique_ptr<TEKG> ekg;
  DecoderState decoder;  // as at program start
  DecodeResult result;
  double mean_rate = 0.0;
};

Decoded decode(const GeneratedRecording& recording) {
  Decoded d{std::make_unique<TEKG>(), {}, {}, 0.0};
  clear_recording(*d.ekg);
  copy_generated_image(recording, *d.ekg);
  d.result = decode_recording(*d.ekg, d.decoder);
  double sum = 0.0;
  for (int k = 1; k <= d.ekg->BeatCount; ++k) sum += d.ekg->BeatRate[k];
  d.mean_rate = d.ekg->BeatCount > 0 ? sum / d.ekg->BeatCount : 0.0;
  return d;
}

// Generated beats that have a kept beat within 3 samples of their R peak.
double share_found(const GeneratedRecording& recording, const DecodeResult& result) {
  std::size_t found = 0;
  for (int peak : recording.beat_positions) {
    auto it = std::lower_bound(result.kept_positions.begin(), result.kept_positions.end(), peak - 3);
    if (it != result.kept_positions.end() && *it <= peak + 3) ++found;
  }
  return static_cast<double>(found) / static_cast<double>(recording.beat_positions.size());
}

// Counts the codes by the recorder's layout; bad counts bytes 251..255 that are no such code.
std::map<std::string, int> count_codes(const GeneratedRecording& recording) {
  std::map<std::string, int> counts;
  const auto& image = recording.image;
  auto at = [&](std::size_t i) { return i < image.size() ? image[i] : 0xFF; };
  for (std::size_t i = 0; i < image.size(); ++i) {
    const std::uint8_t c = image[i];
    if (c <= 250) continue;
    if (c == 255 && at(i + 1) == 0 && at(i + 2) == 255 && at(i + 3) == 0) {
      counts["start"] += 1, i += 3;
    } else if (c == 252 && at(i + 1) >= 40 && at(i + 1) <= 180) {
      counts["marker"] += 1, i += 1;
    } else if (c == 254 && at(i + 1) == 0) {
      counts["event"] += 1, i += 1;
    } else {
      counts[c == 253 ? "pace" : "bad"] += 1;
    }
  }
  return counts;
}

TEST(RecordingGeneratorTest, SameSeedSameBytes) {
  GeneratorOptions options;
  options.seed = 7;
  const GeneratedRecording a = generate_recording(options);
  EXPECT_EQ(a.image, generate_recording(options).image);
  options.seed = 8;
  EXPECT_NE(a.image, generate_recording(options).image);
}

TEST(RecordingGeneratorTest, SteadyRateDecodesToThatRate) {
  struct Case {
    double rate;
    int interval_ms;
  };
  for (const Case& c : {Case{72, 10}, Case{60, 10}, Case{100, 10}, Case{140, 10}, Case{72, 12}, Case{90, 8}}) {
    SCOPED_TRACE(::testing::Message() << c.rate << "/min at " << c.interval_ms << " ms");
    GeneratorOptions options;
    options.rate = c.rate;
    options.interval_ms = c.interval_ms;
    const GeneratedRecording recording = generate_recording(options);
    const Decoded d = decode(recording);
    EXPECT_NEAR(d.mean_rate, c.rate, 3.0);
    EXPECT_EQ(d.decoder.TimeStep, static_cast<int>(std::nearbyint(100.0 / c.interval_ms)));
    // Near 60/min at 10 ms the sinking threshold sometimes fires on the start of the QRS.
    EXPECT_GE(share_found(recording, d.result), c.rate > 65 ? 0.98 : 0.93);
  }
}

TEST(RecordingGeneratorTest, DefaultRateDriftsThroughRestAndExercise) {
  for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    GeneratorOptions options;
    options.seed = seed;
    const GeneratedRecording recording = generate_recording(options);
    const auto [low, high] = std::minmax_element(recording.beat_rates.begin() + 1, recording.beat_rates.end());
    EXPECT_GE(*low, 60.0 - 1e-9);
    EXPECT_LE(*high, 140.0 + 1e-9);
    EXPECT_LT(*low, 80.0);
    EXPECT_GT(*high, 120.0);

    const Decoded d = decode(recording);
    EXPECT_GE(share_found(recording, d.result), 0.97);
    const double made = std::accumulate(recording.beat_rates.begin(), recording.beat_rates.end(), 0.0) /
                        static_cast<double>(recording.beat_rates.size());
    EXPECT_NEAR(d.mean_rate, made, 3.0);
  }
}

TEST(RecordingGeneratorTest, ImageHoldsOnlySamplesAndTheRecordersCodes) {
  GeneratorOptions options;
  options.event_every_s = 30;
  options.pace_every = 5;
  options.second_measurement = true;
  const GeneratedRecording recording = generate_recording(options);
  auto counts = count_codes(recording);

  EXPECT_EQ(counts["bad"], 0);
  EXPECT_EQ(recording.image[0], 255);  // the measurement starts at the first byte
  EXPECT_EQ(counts["start"], 2);
  EXPECT_EQ(recording.measurement_starts, 2);
  const int beats = static_cast<int>(recording.beat_positions.size());
  EXPECT_NEAR(counts["marker"], beats / 8, 1);
  EXPECT_NEAR(counts["pace"], beats / 5, 1);
  EXPECT_GE(counts["event"], 5);  // about 320 s, every 15..45 s

  const Decoded d = decode(recording);
  EXPECT_EQ(CountMeasurements(*d.ekg), 2);
  int event_beats = 0;
  for (int k = 1; k <= d.ekg->BeatCount; ++k) event_beats += (d.ekg->BeatFlags[k] & kFlagCode254) != 0;
  EXPECT_NEAR(event_beats, counts["event"], 1);
  EXPECT_GE(share_found(recording, d.result), 0.97);
}

TEST(RecordingGeneratorTest, ShortMeasurementLeavesEmptyMemory) {
  GeneratorOptions options;
  options.rate = 80;
  options.minutes = 1.0;  // 6000 samples at 10 ms
  const GeneratedRecording recording = generate_recording(options);
  EXPECT_NEAR(static_cast<double>(recording.beat_positions.size()), 80.0, 2.0);
  EXPECT_TRUE(std::all_of(recording.image.begin() + 6200, recording.image.end(), [](std::uint8_t b) { return b == 125; }));
}

}  // namespace
}  // namespace pulvitra
