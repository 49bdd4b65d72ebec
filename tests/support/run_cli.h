// Runs pulvitra-cli of this build as a script would, and keeps what it said.
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pulvitra::test {

struct CliRun {
  int exit_code = -1;  // -1 when the command crashed or did not finish within a minute
  QByteArray out;
  QString err;
};

CliRun run_cli(const QStringList& args,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// The environment of a script or a service: no runtime folder and no chosen Qt platform.
QProcessEnvironment bare_environment();

}  // namespace pulvitra::test
