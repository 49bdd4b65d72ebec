#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace pulvitra {

QString program_folder() {
  QString folder = qEnvironmentVariable("PULVITRA_HOME");
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
  folder = QDir::cleanPath(QDir(folder).absolutePath());
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace pulvitra
