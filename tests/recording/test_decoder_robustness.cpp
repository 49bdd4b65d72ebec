// Whatever 32768 bytes a recorder or a damaged file delivers, the decoder and the page reader
// stay inside their tables and leave results the views can draw. (Run once under the
// address and undefined-behaviour sanitizers: -DPULVITRA_SANITIZE=ON.)
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "recording/decoder.h"

namespace pulvitra {
namespace {

using Filler = std::function<void(std::mt19937&, TEKG&)>;

std::uint8_t byte_in(std::mt19937& rng, int low, int high) {
  return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(low, high)(rng));
}

// Kinds of bad images: noise, ECG-like bytes salted with codes, nothing but codes, chains of
// rate markers that overfill the event sequence, start records, and codes at the very end.
const std::pair<const char*, Filler> kKinds[] = {
    {"random bytes", [](std::mt19937& rng, TEKG& ekg) { for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = byte_in(rng, 0, 255); }},
    {"salted samples",
     [](std::mt19937& rng, TEKG& ekg) {
       for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = byte_in(rng, 0, 99) < 4 ? byte_in(rng, 251, 255) : byte_in(rng, 90, 210);
     }},
    {"codes only", [](std::mt19937& rng, TEKG& ekg) { for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = byte_in(rng, 251, 255); }},
    {"rate markers only", [](std::mt19937& rng, TEKG& ekg) {
       for (int i = 1; i <= kImageSize; i += 2) ekg.Image[i] = 252, ekg.Image[i + 1] = byte_in(rng, 0, 255);
     }},
    {"start records", [](std::mt19937& rng, TEKG& ekg) {
       for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = byte_in(rng, 0, 3) == 0 ? 255 : byte_in(rng, 0, 1) * 100;
     }},
    {"codes at the end", [](std::mt19937& rng, TEKG& ekg) {
       for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = i > kImageSize - 24 ? byte_in(rng, 251, 255) : byte_in(rng, 0, 250);
       if (byte_in(rng, 0, 1)) ekg.Image[kImageSize - 1] = 255, ekg.Image[kImageSize] = 0;
     }},
};

void expect_sound_result(const TEKG& ekg, const DecodeResult& result) {
  ASSERT_LE(ekg.BeatCount, 2798);
  const std::size_t kept = result.kept_positions.size();
  ASSERT_TRUE(kept == ekg.BeatCount || kept == ekg.BeatCount + 1u) << kept << " kept, " << ekg.BeatCount << " counted";
  for (std::size_t k = 1; k <= kept; ++k) {
    const double rate = std::nearbyint(ekg.BeatRate[k]);
    ASSERT_TRUE(rate >= 40 && rate <= 180) << "beat " << k << ": " << ekg.BeatRate[k];
    if (k > 1) {
      ASSERT_LT(result.kept_positions[k - 2], result.kept_positions[k - 1]);
    }
  }
  ASSERT_LE(ekg.ReadPos, 32764);
}

// Reads every page to its end; a page never takes more than 300 calls.
void expect_pages_end(TEKG& ekg) {
  for (int page = 1; page <= kPageCount; ++page) {
    ekg.CurPage = static_cast<std::uint16_t>(page);
    ekg.ReadPos = 0;
    ekg.PageEnd = false;
    int calls = 0;
    while (!ekg.PageEnd && calls <= kPageBytes) {
      NextPageSample(ekg);
      ++calls;
    }
    ASSERT_TRUE(ekg.PageEnd) << "page " << page;
  }
}

TEST(DecoderRobustnessTest, AnyImageDecodesSafely) {
  std::mt19937 rng(20240607);
  auto ekg = std::make_unique<TEKG>();
  auto original = std::make_unique<TEKG>();
  for (const auto& [name, fill] : kKinds) {
    for (int round = 0; round < 60; ++round) {
      SCOPED_TRACE(::testing::Message() << name << " #" << round);
      clear_recording(*ekg);
      fill(rng, *ekg);
      *original = *ekg;
      FixedInterval = round % 3 == 0 ? byte_in(rng, 1, 255) : 0;
      set_detector_state({byte_in(rng, 0, 255), static_cast<std::uint16_t>(byte_in(rng, 0, 255) * 7)});

      const DecodeResult result = decode_recording(*ekg);
      ASSERT_EQ(ekg->Image, original->Image);
      expect_sound_result(*ekg, result);
      CountMeasurements(*ekg);
      if (round % 6 == 0) expect_pages_end(*ekg);
    }
  }
  FixedInterval = 0;
}

TEST(DecoderRobustnessTest, IndexedLookupMatchesTheScanOnBadImages) {
  std::mt19937 rng(77);
  auto scan = std::make_unique<TEKG>();
  auto indexed = std::make_unique<TEKG>();
  for (const auto& [name, fill] : kKinds) {
    SCOPED_TRACE(name);
    clear_recording(*scan);
    fill(rng, *scan);
    *indexed = *scan;
    const DetectorState start{byte_in(rng, 0, 255), 0};
    set_detector_state(start);
    decode_recording(*scan, BeatRateLookup::kLiteralScan);
    const std::uint8_t time_step = TimeStep;
    set_detector_state(start);
    decode_recording(*indexed, BeatRateLookup::kIndexed);
    EXPECT_EQ(TimeStep, time_step);
    EXPECT_EQ(scan->Pages, indexed->Pages);
    EXPECT_EQ(scan->PageRate, indexed->PageRate);
    EXPECT_EQ(scan->PageTime, indexed->PageTime);
  }
}

TEST(DecoderRobustnessTest, AFullEventSequenceStopsTheDetector) {
  // 16384 rate markers in a row: the sequence fills at 3000 entries, no beat is found, and
  // beats before such a run are still kept.
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (int i = 1; i <= kImageSize; i += 2) ekg->Image[i] = 252, ekg->Image[i + 1] = 75;
  reset_decoder_state();
  decode_recording(*ekg);
  EXPECT_EQ(ekg->BeatCount, 0);

  ekg->Image.fill(100);
  for (int beat = 1; beat <= 20; ++beat) ekg->Image[beat * 80] = 200;
  for (int i = 1601; i < kImageSize; i += 2) ekg->Image[i] = 252, ekg->Image[i + 1] = 75;
  set_detector_state({100, 0});
  const DecodeResult result = decode_recording(*ekg);
  ASSERT_EQ(result.kept_positions.size(), 19u);
  EXPECT_EQ(result.kept_positions.front(), 160);
  EXPECT_FLOAT_EQ(ekg->BeatRate[1], 75.0f);
}

TEST(DecoderRobustnessTest, PagesWithManyCodesAreCutAt300Bytes) {
  // Sample, 251, sample, 251, ...: a page of 180 samples would need 358 bytes.
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (int i = 1; i <= kImageSize; ++i) ekg->Image[i] = i % 2 == 1 ? 100 : 251;
  reset_decoder_state();
  decode_recording(*ekg);
  for (int col = 1; col <= kPageBytes; ++col) ASSERT_EQ(ekg->Pages[1][col], ekg->Image[col]) << col;
  EXPECT_EQ(ekg->PageStartBlock[1], 359 / 128);  // page 2 begins at image position 359
  EXPECT_EQ(ekg->Pages[2][1], 100);
  EXPECT_EQ(ekg->Pages[2][2], 251);
}

}  // namespace
}  // namespace pulvitra
