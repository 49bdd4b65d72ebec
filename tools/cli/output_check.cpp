#include "tools/cli/output_check.h"

#include <cstdio>

#include "files/recording_file.h"
#include "shell/language.h"
#include "shell/native_name.h"
#include "shell/output_target.h"

namespace pulvitra::cli {

QString output_problem(const QString& out, const QStringList& inputs, OverRecording over_recording) {
  if (is_standard_output(out)) return {};
  if (is_stand_in(out))
    return lang_text(QStringLiteral("%1: der Name enthält Bytes, die kein UTF-8 sind; bitte einen anderen Namen wählen"),
                     QStringLiteral("%1: the name holds bytes that are not UTF-8; please choose another name"))
        .arg(shown_name(out));
  if (QString refusal = output_refusal(out, inputs); !refusal.isEmpty()) return refusal;
  if (over_recording == OverRecording::kForced || !holds_recording(out)) return {};
  if (over_recording == OverRecording::kNeedsForce)
    return lang_text(QStringLiteral("%1 ist eine vorhandene Aufzeichnung; --force ersetzt sie"),
                     QStringLiteral("%1 is an existing recording; --force replaces it"))
        .arg(out);
  return lang_text(QStringLiteral("%1 ist eine Aufzeichnungsdatei und wird nicht überschrieben"),
                   QStringLiteral("%1 is a recording file and is not overwritten"))
      .arg(out);
}

bool output_acceptable(const QString& out, const QStringList& inputs, OverRecording over_recording) {
  const QString problem = output_problem(out, inputs, over_recording);
  if (problem.isEmpty()) return true;
  std::fprintf(stderr, "pulvitra-cli: %s\n", problem.toLocal8Bit().constData());
  return false;
}

void print_write_error(const QString& out, const QString& reason) {
  std::fprintf(stderr, "pulvitra-cli: %s\n",
               lang_text(QStringLiteral("%1 lässt sich nicht schreiben: %2"), QStringLiteral("cannot write %1: %2"))
                   .arg(out, reason)
                   .toLocal8Bit()
                   .constData());
}

}  // namespace pulvitra::cli
