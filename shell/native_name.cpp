#include "shell/native_name.h"

#include <fcntl.h>

#include <QFile>
#include <map>

namespace pulvitra {

namespace {

// The descriptors' names and the names they stand for, for the messages.
std::map<QString, QString>& shown_names() {
  static std::map<QString, QString> names;
  return names;
}

}  // namespace

bool is_faithful_name(const QByteArray& native) { return QFile::encodeName(QFile::decodeName(native)) == native; }

QString readable_name(const QByteArray& native) {
  const QString unicode = QFile::decodeName(native);
  if (is_faithful_name(native)) return unicode;
  // O_PATH opens without reading, so a FIFO does not block here; the readers refuse it later.
  const int fd = ::open(native.constData(), O_PATH | O_CLOEXEC);
  // The Unicode form names no file of the user's (or another one): it stands in too.
  shown_names()[unicode] = unicode;
  if (fd < 0) return unicode;
  const QString through_descriptor = QStringLiteral("/proc/self/fd/%1").arg(fd);
  shown_names()[through_descriptor] = unicode;
  return through_descriptor;
}

bool is_stand_in(const QString& name) { return shown_names().count(name) > 0; }

QString shown_name(const QString& name) {
  const auto it = shown_names().find(name);
  return it == shown_names().end() ? name : it->second;
}

}  // namespace pulvitra
