// How every command that writes a file looks at its output before doing any work, so that a
// slip on the command line never costs a recording: the output may not be one of the
// command's inputs, a FIFO, a device node or a folder, nor an existing recording file unless
// the command writes recordings and the user said --force. "-" (standard output) passes.
#pragma once

#include <QString>
#include <QStringList>

namespace pulvitra::cli {

enum class OverRecording {
  kRefused,        // exports, reports, pictures, summaries
  kNeedsForce,     // commands that write recordings themselves
  kForced,         // ... and the user gave --force
};

// "" when the output may be written, else the message, worded in the current language.
QString output_problem(const QString& out, const QStringList& inputs, OverRecording over_recording);

// output_problem printed as "pulvitra-cli: ..." on standard error: true when it was fine.
bool output_acceptable(const QString& out, const QStringList& inputs, OverRecording over_recording);

// The message after a failed write: "cannot write OUT: REASON".
void print_write_error(const QString& out, const QString& reason);

// The output name that stands for standard output.
inline bool is_standard_output(const QString& out) { return out == QLatin1String("-"); }

}  // namespace pulvitra::cli
