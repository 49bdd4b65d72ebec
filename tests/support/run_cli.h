// Runs pulvitra-cli of this build as a script would, and keeps what it said.
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pulvitra::test {

struct CliRun {
  int exit_code = -1;  // -1 when the command crashed or did not finish in time
  QByteArray out;
  QString err;
};

// How a run is watched: how long it may take before it counts as hung (exit_code -1), and a
// file that stands for its standard output (for example /dev/full).
struct CliWatch {
  int timeout_ms = 60000;
  QString standard_output_file;
};

CliRun run_cli(const QStringList& args,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), const CliWatch& watch = {});

// The environment of a script or a service: no runtime folder and no chosen Qt platform.
QProcessEnvironment bare_environment();

}  // namespace pulvitra::test
