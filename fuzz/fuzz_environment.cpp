#include "fuzz/fuzz_targets.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "shell/language.h"

namespace pulvitra::fuzz {

void init_fuzz_environment(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Text drawing needs a platform. The application is never destroyed: the fuzzer ends the
  // process with exit(), and tearing Qt down among the static destructors crashes.
  static int app_argc = *argc > 0 ? 1 : 0;
  if (!QGuiApplication::instance()) new QGuiApplication(app_argc, *argv);
}

QString scratch_file(const char* name, const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  require(folder.isValid(), "a scratch folder can be created");
  const QString path = folder.filePath(QString::fromLatin1(name));
  QFile file(path);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch file can be written");
  const auto length = static_cast<qint64>(size);
  require(file.write(reinterpret_cast<const char*>(data), length) == length, "the scratch file takes every byte");
  return path;
}

void require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
  std::abort();
}

}  // namespace pulvitra::fuzz
