// The note on a recording with hardly any beats: under 10 beats in all or under 20 per minute
// of recorded time it says how few were found in how long.
#include <gtest/gtest.h>

#include "shell/language.h"
#include "views/recording_note.h"

namespace pulvitra {
namespace {

TEST(RecordingNote, SaysHowFewBeatsInHowLongBelowEitherMinimum) {
  struct Case {
    std::uint8_t language;
    int beats;
    long long ms;
    const char* note;  // nullptr: none
  } cases[] = {
      {kGerman, 9, 20000, "Nur 9 Schläge in 20 s gefunden – Elektroden und Aufzeichnung prüfen"},
      {kGerman, 10, 20000, nullptr},                                     // 30 per minute
      {kGerman, 109, 327680, "Nur 109 Schläge in 5 min 27 s gefunden – Elektroden und Aufzeichnung prüfen"},
      {kGerman, 110, 327680, nullptr},                                   // 20.1 per minute
      {kGerman, 99, 300000, "Nur 99 Schläge in 5 min 0 s gefunden – Elektroden und Aufzeichnung prüfen"},
      {kGerman, 100, 300000, nullptr},                                   // 20 per minute
      {kGerman, 1, 59999, "Nur 1 Schlag in 59 s gefunden – Elektroden und Aufzeichnung prüfen"},
      {kGerman, 0, 0, nullptr},                                          // nothing recorded: New
      {kEnglish, 3, 327000, "Only 3 beats found in 5 min 27 s – check the electrodes and the recording"},
      {kEnglish, 1, 60000, "Only 1 beat found in 1 min 0 s – check the electrodes and the recording"},
      {kEnglish, 0, 45000, "No beat found in 45 s – check the electrodes and the recording"},
  };
  for (const Case& c : cases) {
    cur_lang = c.language;
    EXPECT_EQ(few_beats_note(c.beats, c.ms).value_or("none"), QString::fromUtf8(c.note ? c.note : "none"))
        << c.beats << " in " << c.ms;
  }
  cur_lang = kGerman;
}

}  // namespace
}  // namespace pulvitra
