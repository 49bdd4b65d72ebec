#include "tests/support/run_cli.h"

#include <QProcess>

namespace pulvitra::test {

CliRun run_cli(const QStringList& args, const QProcessEnvironment& env) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(PULVITRA_BIN_DIR "/pulvitra-cli"), args);
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

QProcessEnvironment bare_environment() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  return env;
}

}  // namespace pulvitra::test
