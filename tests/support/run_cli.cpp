#include "tests/support/run_cli.h"

#include <QProcess>

namespace pulvitra::test {

CliRun run_cli(const QStringList& args, const QProcessEnvironment& env, const CliWatch& watch) {
  QProcess process;
  process.setProcessEnvironment(env);
  if (!watch.standard_output_file.isEmpty()) process.setStandardOutputFile(watch.standard_output_file, QIODevice::Append);
  process.start(QStringLiteral(PULVITRA_BIN_DIR "/pulvitra-cli"), args);
  if (!process.waitForFinished(watch.timeout_ms)) {
    process.kill();
    process.waitForFinished();
    return {-1, {}, QString::fromLocal8Bit(process.readAllStandardError())};
  }
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
