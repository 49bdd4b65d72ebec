// The note on a recording with hardly any beats: at least 10 beats in all and 20 per minute of
// recorded time, or the note says how few were found in how long.
#include <gtest/gtest.h>

#include "shell/language.h"
#include "views/recording_note.h"

namespace pulvitra {
namespace {

TEST(RecordingNote, SaysHowFewBeatsInHowLongBelowEitherMinimum) {
  const QString check_de = QString::fromUtf8(" – Elektroden und Aufzeichnung prüfen");
  const QString check_en = QString::fromUtf8(" – check the electrodes and the recording");
  struct Case {
    std::uint8_t language;
    int beats;
    long long ms;
    const char* note;  // without the advice; nullptr: no note
  } cases[] = {
      {kGerman, 9, 20000, "Nur 9 Schläge in 20 s gefunden"},  // 27 per minute, but fewer than 10
      {kGerman, 10, 20000, nullptr},
      {kGerman, 99, 300000, "Nur 99 Schläge in 5 min 0 s gefunden"},  // 19.8 per minute
      {kGerman, 100, 300000, nullptr},                                   // 20 per minute
      {kGerman, 109, 327680, "Nur 109 Schläge in 5 min 27 s gefunden"},  // the full memory at 10 ms
      {kGerman, 110, 327680, nullptr},
      {kGerman, 1, 59999, "Nur 1 Schlag in 59 s gefunden"},
      {kGerman, 0, 327590, "Kein Schlag in 5 min 27 s gefunden"},
      {kGerman, 0, 0, nullptr},  // nothing recorded: the empty recording after New
      {kEnglish, 3, 327000, "Only 3 beats found in 5 min 27 s"},
      {kEnglish, 1, 60000, "Only 1 beat found in 1 min 0 s"},
      {kEnglish, 0, 45000, "No beat found in 45 s"},
      {kEnglish, 2800, 327680, nullptr},
  };
  for (const Case& c : cases) {
    cur_lang = c.language;
    const auto note = few_beats_note(c.beats, c.ms);
    if (!c.note) {
      EXPECT_FALSE(note) << c.beats << " in " << c.ms;
      continue;
    }
    ASSERT_TRUE(note) << c.beats << " in " << c.ms;
    EXPECT_EQ(*note, QString::fromUtf8(c.note) + (c.language == kGerman ? check_de : check_en));
  }
  cur_lang = kGerman;
}

}  // namespace
}  // namespace pulvitra
