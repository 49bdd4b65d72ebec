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

std::mt19937 rng(20240607);

int any(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

void fill(TEKG& ekg, const std::function<int(int)>& byte_at) {
  for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = static_cast<std::uint8_t>(byte_at(i));
}

// Kinds of bad images: noise, ECG-like bytes salted with codes, nothing but codes, chains of
// rate markers that overfill the event sequence, start records, codes at the very end, and
// beats among codes.
const std::pair<const char*, std::function<void(TEKG&)>> kKinds[] = {
    {"random bytes", [](TEKG& e) { fill(e, [](int) { return any(0, 255); }); }},
    {"salted samples", [](TEKG& e) { fill(e, [](int) { return any(0, 99) < 4 ? any(251, 255) : any(90, 210); }); }},
    {"codes only", [](TEKG& e) { fill(e, [](int) { return any(251, 255); }); }},
    {"rate markers only", [](TEKG& e) { fill(e, [](int i) { return i % 2 ? 252 : any(0, 255); }); }},
    {"start records", [](TEKG& e) { fill(e, [](int) { return any(0, 3) == 0 ? 255 : any(0, 1) * 100; }); }},
    {"codes at the end", [](TEKG& e) { fill(e, [](int i) { return i > kImageSize - 24 ? any(251, 255) : any(0, 250); }); }},
    {"beats among codes", [](TEKG& e) {
       fill(e, [](int i) { return i % any(60, 110) == 0 ? 200 : any(0, 60) == 0 ? any(251, 255) : 100; });
     }},
};

// Moves the page reader of ekg.
void expect_sound_result(TEKG& ekg, const DecodeResult& result) {
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
  ASSERT_LE(result.end_position, 32764);
  for (int page = 1; page <= kPageCount; ++page) {  // every page ends within 300 reads
    PageReader reader;
    reader.start_page(page);
    for (int calls = 0; !reader.PageEnd; ++calls) {
      ASSERT_LE(calls, kPageBytes) << "page " << page;
      NextPageSample(ekg, reader);
    }
  }
}

TEST(DecoderRobustnessTest, AnyImageDecodesSafelyAndTheIndexMatchesTheScan) {
  auto indexed = std::make_unique<TEKG>();
  auto scanned = std::make_unique<TEKG>();
  for (const auto& [name, make] : kKinds) {
    for (int round = 0; round < 40; ++round) {
      SCOPED_TRACE(::testing::Message() << name << " #" << round);
      clear_recording(*indexed);
      make(*indexed);
      *scanned = *indexed;
      DecoderState start;
      start.FixedInterval = static_cast<std::uint8_t>(round % 3 == 0 ? any(1, 255) : 0);
      start.detector = {static_cast<std::uint8_t>(any(0, 255)), static_cast<std::uint16_t>(any(0, 2000))};

      DecoderState indexed_state = start;
      const DecodeResult result = decode_recording(*indexed, indexed_state, BeatRateLookup::kIndexed);
      ASSERT_EQ(indexed->Image, scanned->Image);  // decoding never changes the image
      ASSERT_NO_FATAL_FAILURE(expect_sound_result(*indexed, result));
      CountMeasurements(*indexed);
      if (round % 8 != 0) continue;  // the scan is slow
      DecoderState scanned_state = start;
      decode_recording(*scanned, scanned_state, BeatRateLookup::kLiteralScan);
      ASSERT_EQ(scanned_state.TimeStep, indexed_state.TimeStep);
      ASSERT_EQ(scanned->Pages, indexed->Pages);
      ASSERT_EQ(scanned->PageTime, indexed->PageTime);
      ASSERT_EQ(scanned->PageRate, indexed->PageRate);
      ASSERT_EQ(scanned->PageStartBlock, indexed->PageStartBlock);
    }
  }
}

TEST(DecoderRobustnessTest, AFullEventSequenceStopsTheDetector) {
  // Beats every 80 samples, then rate markers to the end: the sequence fills at 3000 entries
  // and the beats before the run are still kept (all but the first).
  auto ekg = std::make_unique<TEKG>();
  fill(*ekg, [](int i) { return i > 1600 ? (i % 2 ? 252 : 75) : i % 80 == 0 ? 200 : 100; });
  DecoderState decoder;
  decoder.detector = {100, 0};
  const DecodeResult result = decode_recording(*ekg, decoder);
  ASSERT_EQ(result.kept_positions.size(), 19u);
  EXPECT_EQ(result.kept_positions.front(), 160);
  EXPECT_FLOAT_EQ(ekg->BeatRate[1], 75.0f);

  // Beats every 10 samples would fill the sequence before the end of the memory: the
  // detector stops at the beat that makes it 2996 entries long.
  fill(*ekg, [](int i) { return i % 10 == 0 ? 200 : 100; });
  decoder.detector = {100, 0};
  EXPECT_EQ(decode_recording(*ekg, decoder).end_position, 2996 * 10);
}

TEST(DecoderRobustnessTest, PagesWithManyCodesAreCutAt300Bytes) {
  // Sample, 251, sample, 251, ...: a page of 180 samples would need 358 bytes.
  auto ekg = std::make_unique<TEKG>();
  fill(*ekg, [](int i) { return i % 2 ? 100 : 251; });
  DecoderState decoder;
  decode_recording(*ekg, decoder);
  for (int col = 1; col <= kPageBytes; ++col) ASSERT_EQ(ekg->Pages[1][col], ekg->Image[col]) << col;
  EXPECT_EQ(ekg->PageStartBlock[1], 359 / 128);  // page 2 begins at image position 359
  EXPECT_EQ(ekg->Pages[2][1], 100);
  EXPECT_EQ(ekg->Pages[2][2], 251);
}

TEST(DecoderRobustnessTest, TheNextRecordingShowsNothingOfThePreviousOne) {
  // A full recording, then one that fills only 20 pages (every other byte a code 251) decoded
  // into the same tables, as Open and an upload do: its pages, their rates, times and starts
  // are those of a fresh decode, so no page holds samples of the previous patient.
  auto reused = std::make_unique<TEKG>();
  clear_recording(*reused);
  fill(*reused, [](int i) { return i % 80 == 0 ? 200 : 100; });
  DecoderState reused_state;
  decode_recording(*reused, reused_state);
  auto fresh = std::make_unique<TEKG>();
  clear_recording(*fresh);
  fill(*fresh, [](int i) { return i < 7200 ? (i % 2 ? 100 : 251) : 251; });
  reused->Image = fresh->Image;
  DecoderState fresh_state = reused_state;

  decode_recording(*reused, reused_state);
  decode_recording(*fresh, fresh_state);
  EXPECT_EQ(reused->Pages, fresh->Pages);
  EXPECT_EQ(reused->PageRate, fresh->PageRate);
  EXPECT_EQ(reused->PageTime, fresh->PageTime);
  EXPECT_EQ(reused->PageStartBlock, fresh->PageStartBlock);
  EXPECT_EQ(reused->Pages[25][150], 125);  // a page past the recording's end reads as a flat line
}

}  // namespace
}  // namespace pulvitra
