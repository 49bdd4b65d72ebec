// A program folder of its own for a test: PULVITRA_HOME points at a temporary directory while
// this lives, so nothing a test writes reaches the user's settings or recordings.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace pulvitra::test {

struct TemporaryProgramFolder {
  TemporaryProgramFolder() { qputenv("PULVITRA_HOME", QFile::encodeName(home.path())); }
  ~TemporaryProgramFolder() { qunsetenv("PULVITRA_HOME"); }
  QString path(const QString& name) const { return home.filePath(name); }

  QTemporaryDir home;
};

}  // namespace pulvitra::test
