#include "views/recording_note.h"

#include "shell/language.h"

namespace pulvitra {

namespace {

// Whole seconds, the minutes apart once there are any: "45 s", "5 min 27 s".
QString duration_text(long long recorded_ms) {
  const long long seconds = recorded_ms / 1000;
  if (seconds < 60) return QStringLiteral("%1 s").arg(seconds);
  return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

std::optional<QString> few_beats_note(int beats, long long recorded_ms) {
  if (recorded_ms <= 0) return std::nullopt;
  const bool too_few = beats < kFewestBeats || beats * 60000LL < kFewestBeatsPerMinute * recorded_ms;
  if (!too_few) return std::nullopt;
  const QString time = duration_text(recorded_ms);
  QString found;
  if (beats == 0) {
    found = lang_text(QStringLiteral("Kein Schlag in %1 gefunden"), QStringLiteral("No beat found in %1")).arg(time);
  } else if (beats == 1) {
    found = lang_text(QStringLiteral("Nur 1 Schlag in %1 gefunden"), QStringLiteral("Only 1 beat found in %1")).arg(time);
  } else {
    found = lang_text(QStringLiteral("Nur %1 Schläge in %2 gefunden"), QStringLiteral("Only %1 beats found in %2"))
                .arg(beats)
                .arg(time);
  }
  return found + lang_text(QStringLiteral(" – Elektroden und Aufzeichnung prüfen"),
                           QStringLiteral(" – check the electrodes and the recording"));
}

}  // namespace pulvitra
