// What the views, the statistics and the stored files rely on from the decoder: which beats
// are kept with which rate and event bits, and how the samples are cut into pages.
#include <gtest/gtest.h>

#include <set>

#include <algorithm>
#include <cmath>
#include <vector>

#include "recording/decoder.h"
#include "tests/support/image_builder.h"

namespace pulvitra {
namespace {

using test::ImageBuilder;
using test::settle_detector;

class DecoderTest : public ::testing::Test {
 protected:
  DecoderState decoder;  // as at program start
};

std::vector<int> positions(const DecodeResult& result) {
  return std::vector<int>(result.kept_positions.begin(), result.kept_positions.end());
}

std::vector<int> spikes_from(const ImageBuilder& image, std::size_t first) {
  return std::vector<int>(image.spikes().begin() + static_cast<long>(first), image.spikes().end());
}

TEST_F(DecoderTest, FillerImageGivesNoBeatsAndPagesOf125) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  const DecodeResult result = decode_recording(*ekg, decoder);

  EXPECT_EQ(ekg->BeatCount, 0);
  EXPECT_TRUE(result.kept_positions.empty());
  EXPECT_EQ(decoder.TimeStep, 10);
  // Page 1 holds 179 samples, every later page 180, each closed by the end mark 254 255.
  for (int page = 1; page <= 178; ++page) {
    const int samples = page == 1 ? 179 : 180;
    SCOPED_TRACE(page);
    for (int col = 1; col <= samples; ++col) ASSERT_EQ(ekg->Pages[page][col], 125);
    EXPECT_EQ(ekg->Pages[page][samples + 1], 254);
    EXPECT_EQ(ekg->Pages[page][samples + 2], 255);
  }
  // Page p+1 begins at image position 180 p.
  EXPECT_EQ(ekg->PageStartBlock[1], 180 / 128);
  EXPECT_EQ(ekg->PageStartBlock[2], 360 / 128);
  EXPECT_EQ(ekg->PageStartBlock[178], 32040 / 128);
  EXPECT_FLOAT_EQ(ekg->PageTime[1], 0.0f);
  EXPECT_FLOAT_EQ(ekg->PageTime[2], 1800.0f);
  EXPECT_FLOAT_EQ(ekg->PageTime[3], 3600.0f);
  EXPECT_EQ(ekg->PageRate[1], 10);
  EXPECT_EQ(ekg->PageRate[179], 10);
}

TEST_F(DecoderTest, FirstBeatsAreNeverKept) {
  struct Case {
    const char* name;
    bool rate_marker;
    std::size_t first_kept_spike;  // 0-based
  };
  // Without a rate marker the closing pseudo-entry takes the last beat number, so the first
  // two beats fall out; with a marker only the first.
  for (const Case& c : {Case{"no marker", false, 2}, Case{"marker", true, 1}}) {
    SCOPED_TRACE(c.name);
    decoder.FixedInterval = c.rate_marker ? 0 : 10;
    ImageBuilder image;
    image.beats(5, 80);
    if (c.rate_marker) image.code({252, 75});
    image.beats(5, 80);
    auto ekg = image.recording();
    settle_detector(decoder);
    const DecodeResult result = decode_recording(*ekg, decoder);

    EXPECT_EQ(positions(result), spikes_from(image, c.first_kept_spike));
    EXPECT_EQ(ekg->BeatCount, result.kept_positions.size() - 1);  // the last kept beat is not counted
    for (int k = 1; k <= ekg->BeatCount + 1; ++k) EXPECT_FLOAT_EQ(ekg->BeatRate[k], 75.0f) << k;  // 60000 / (80 x 10)
    EXPECT_EQ(decoder.TimeStep, 10);
  }
}

// A second spike only 4 samples after a beat is no candidate; 5 samples after, it is one: the
// next beat is then timed from it (75 samples, 80/min at 10 ms) instead of from the beat
// (80 samples, 75/min). The spike itself, at 1200/min, is dropped as implausible.
TEST_F(DecoderTest, ACandidateNeedsFiveSamplesSinceThePreviousOne) {
  for (const auto& [gap, next_rate] : {std::pair{4, 75.0f}, std::pair{5, 80.0f}}) {
    SCOPED_TRACE(gap);
    decoder.FixedInterval = 10;
    ImageBuilder image;
    image.beats(6, 80).beat(gap).beat(80 - gap).beats(6, 80);
    auto ekg = image.recording();
    settle_detector(decoder);
    decode_recording(*ekg, decoder);
    std::set<float> rates;
    for (int k = 1; k <= ekg->BeatCount; ++k) rates.insert(ekg->BeatRate[k]);
    EXPECT_TRUE(rates.count(next_rate));
    EXPECT_EQ(rates.size(), gap == 4 ? 1u : 2u);
  }
}

// A sample starts a beat when it stands more than 20 above the running average (which takes
// it in at a quarter), less a sixth of the samples since the last candidate: 80 samples after
// a beat on a flat line at 100, a sample of 109 (average 102) is a beat, one of 108 is not.
TEST_F(DecoderTest, ABeatRisesTwentyAboveTheAverageLessASixthOfTheWait) {
  for (const auto& [height, counted] : {std::pair{109, true}, std::pair{108, false}}) {
    SCOPED_TRACE(height);
    decoder.FixedInterval = 10;
    ImageBuilder image;
    image.beats(6, 80).flat(79).code({static_cast<std::uint8_t>(height)}).beats(6, 80);
    auto ekg = image.recording();
    settle_detector(decoder);
    const std::vector<int> kept = positions(decode_recording(*ekg, decoder));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), 6 * 80 + 80), counted ? 1 : 0);
  }
}

TEST_F(DecoderTest, RateMarkersGiveTheSampleInterval) {
  struct Case {
    std::uint8_t marker;  // the recorder's rate for beats 80 samples apart
    int interval_ms;
  };
  for (const Case& c : {Case{75, 10}, Case{62, 12}, Case{94, 8}, Case{125, 6}}) {
    SCOPED_TRACE(c.interval_ms);
    ImageBuilder image;
    for (int group = 0; group < 6; ++group) image.beats(8, 80).code({252, c.marker});
    auto ekg = image.recording();
    settle_detector(decoder);
    decode_recording(*ekg, decoder);
    ASSERT_EQ(ekg->BeatCount, 46);
    EXPECT_FLOAT_EQ(ekg->BeatRate[20], 60000.0f / (80.0f * c.interval_ms));
    EXPECT_EQ(decoder.TimeStep, static_cast<int>(std::nearbyint(100.0 / c.interval_ms)));
  }
}

TEST_F(DecoderTest, ImplausibleRatesAreDroppedAndTheirBitsMoveOn) {
  struct Case {
    std::uint8_t interval;
    int normal_period;
    int odd_period;
    float odd_rate;
    bool kept;
  };
  const Case cases[] = {
      {13, 80, 118, 60000.0f / 1534.0f, false},  // 39.11 rounds to 39
      {13, 80, 115, 60000.0f / 1495.0f, true},   // 40.13 rounds to 40
      {4, 100, 83, 60000.0f / 332.0f, false},    // 180.72 rounds to 181
      {4, 100, 84, 60000.0f / 336.0f, true},     // 178.57
      {3, 115, 111, 60000.0f / 333.0f, true},    // 180.18 rounds to 180
  };
  for (const Case& c : cases) {
    const std::pair<std::vector<std::uint8_t>, std::uint8_t> codes[] = {{{254, 0}, kFlagCode254},
                                                                       {{255, 0, 7, 7}, kFlagStartRecord}};
    for (const auto& [code, bit] : codes) {
      SCOPED_TRACE(::testing::Message() << "interval " << int{c.interval} << " period " << c.odd_period << " bit " << int{bit});
      decoder.FixedInterval = c.interval;
      ImageBuilder image;
      image.beats(4, c.normal_period).code(code).beat(c.odd_period).beats(4, c.normal_period);
      auto ekg = image.recording();
      settle_detector(decoder);
      decode_recording(*ekg, decoder);
      // Without rate markers the kept beats begin with the third spike.
      const float normal = 60000.0f / static_cast<float>(c.normal_period * c.interval);
      EXPECT_EQ(ekg->BeatCount, c.kept ? 6 : 5);
      EXPECT_FLOAT_EQ(ekg->BeatRate[2], normal);
      EXPECT_EQ(ekg->BeatFlags[2], 0);
      EXPECT_FLOAT_EQ(ekg->BeatRate[3], c.kept ? c.odd_rate : normal);
      EXPECT_EQ(ekg->BeatFlags[3], bit);  // on the odd beat, or carried to the next kept one
      EXPECT_EQ(ekg->BeatFlags[4], 0);
    }
  }
}

TEST_F(DecoderTest, TwoCodesInARowAreBothConsumed) {
  ImageBuilder image;
  image.beats(4, 80).code({252, 75, 255, 0, 255, 0}).beats(4, 80).code({254, 0, 252, 75}).beats(4, 80);
  auto ekg = image.recording();
  settle_detector(decoder);
  const DecodeResult result = decode_recording(*ekg, decoder);

  // The codes take no sample time: every period stays 80 samples, the marker gives 10 ms.
  EXPECT_EQ(positions(result), spikes_from(image, 1));
  for (int k = 1; k <= ekg->BeatCount; ++k) EXPECT_FLOAT_EQ(ekg->BeatRate[k], 75.0f) << k;
  EXPECT_EQ(ekg->BeatFlags[3], 0);
  EXPECT_EQ(ekg->BeatFlags[4], kFlagStartRecord);  // spike 5, the first after the start record
  EXPECT_EQ(ekg->BeatFlags[8], kFlagCode254);      // spike 9
  EXPECT_EQ(CountMeasurements(*ekg), 1);
}

TEST_F(DecoderTest, SecondDecodeGoesOnFromTheDetectorsValues) {
  ImageBuilder image;
  image.beats(3, 80).code({252, 75}).beats(6, 80);
  auto ekg = image.recording();
  ASSERT_EQ(decoder.detector, (DetectorState{1, 0}));

  // From the values at program start the rising average makes a beat at position 5, which
  // takes the place of the never-kept first beat, so the first spike is kept (75 samples after
  // it: 80/min). Decoding again starts settled, and the first spike is the never-kept one.
  const DecodeResult first = decode_recording(*ekg, decoder);
  const DecodeResult second = decode_recording(*ekg, decoder);
  EXPECT_EQ(positions(first), spikes_from(image, 0));
  EXPECT_EQ(positions(second), spikes_from(image, 1));
  EXPECT_NE(ekg->BeatCount, 0);

  decoder = DecoderState{};
  EXPECT_EQ(positions(decode_recording(*ekg, decoder)), spikes_from(image, 0));
}

TEST_F(DecoderTest, BeatMarksSitOnThePageAtTheirSample) {
  ImageBuilder image;
  image.beats(4, 80).code({252, 75}).beats(4, 80);
  auto ekg = image.recording();
  settle_detector(decoder);
  const DecodeResult result = decode_recording(*ekg, decoder);

  // Spike 2 (the first kept beat) is at image position 160 on page 1: column 160 gets the mark
  // 254 75 and the spike follows it. Each later mark shifts the page by two columns.
  ASSERT_EQ(result.kept_positions.front(), 160);
  EXPECT_EQ(ekg->Pages[1][159], test::kFlat);
  EXPECT_EQ(ekg->Pages[1][160], 254);
  EXPECT_EQ(ekg->Pages[1][161], 75);
  EXPECT_EQ(ekg->Pages[1][162], test::kSpike);
  // The mark adds two columns: the end mark of page 1 follows its 179 samples at 182.
  EXPECT_EQ(ekg->Pages[1][182], 254);
  EXPECT_EQ(ekg->Pages[1][183], 255);
  // Spike 3 (image position 240) is sample 61 of page 2, which begins at position 180.
  EXPECT_EQ(ekg->Pages[2][61], 254);
  EXPECT_EQ(ekg->Pages[2][62], 75);
  EXPECT_EQ(ekg->Pages[2][63], test::kSpike);
}

TEST(ModeIntervalTest, MostFrequentEstimateWins) {
  EXPECT_EQ(ModeInterval({10, 10, 10, 12, 12, 0, 0}), 10);
  EXPECT_EQ(ModeInterval({12, 12, 10, 10, 0, 0, 0}), 10);  // a tie goes to the smaller interval
  EXPECT_EQ(ModeInterval({2, 3, 32, 64, 200, 0, 0}), 2);   // nothing inside 4..31
  EXPECT_EQ(ModeInterval({4, 5, 30, 31, 31, 0, 0}), 30);   // 31 counts as 30
}

TEST(CountMeasurementsTest, CountsEveryStartOfAMeasurement) {
  const std::vector<std::uint8_t> start = {255, 0, 255, 0};
  const std::vector<std::uint8_t> overlapping = {255, 0, 255, 0, 255, 0};
  struct Case {
    std::vector<std::pair<int, std::vector<std::uint8_t>>> writes;  // image position, bytes
    int count;
  };
  const Case cases[] = {
      {{}, 0},
      {{{1, start}}, 1},
      {{{1, start}, {5000, start}}, 2},
      {{{100, overlapping}}, 2},
      {{{32760, start}}, 1},  // the last position looked at
      {{{32761, start}}, 0},
  };
  for (const Case& c : cases) {
    auto ekg = std::make_unique<TEKG>();
    clear_recording(*ekg);
    for (const auto& [position, bytes] : c.writes) std::copy(bytes.begin(), bytes.end(), ekg->Image.begin() + position);
    EXPECT_EQ(CountMeasurements(*ekg), c.count) << c.writes.size() << " writes";
  }
}

}  // namespace
}  // namespace pulvitra
