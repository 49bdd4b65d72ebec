// The recorded time a note weighs the beats against: the samples up to the last one that is
// not empty memory, at the interval the beats were rated with.
#include <gtest/gtest.h>

#include <memory>

#include "recording/decoder.h"
#include "recording/recorded_time.h"
#include "recording/recording_generator.h"

namespace pulvitra {
namespace {

TEST(RecordedTime, EndsWithTheLastRecordedSample) {
  struct Case {
    double minutes;  // 0: nothing generated, the empty memory
    int interval_ms;
    long long low_ms, high_ms;
  } cases[] = {
      {0.0, 0, 0, 0},
      {1.0, 10, 60000, 61000},  // not the 327 s of the whole memory
      {2.0, 12, 120000, 121000},
  };
  for (const Case& c : cases) {
    auto ekg = std::make_unique<TEKG>();
    clear_recording(*ekg);
    GeneratorOptions options;
    options.minutes = c.minutes;
    options.interval_ms = c.interval_ms;
    if (c.minutes > 0) copy_generated_image(generate_recording(options), *ekg);
    DecoderState state;
    DecodeRecording(*ekg, state);
    const long long ms = recorded_time_ms(*ekg, state);
    EXPECT_GE(ms, c.low_ms) << c.minutes << " min";
    EXPECT_LE(ms, c.high_ms) << c.minutes << " min";
  }
}

}  // namespace
}  // namespace pulvitra
