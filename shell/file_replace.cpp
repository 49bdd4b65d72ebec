#include "shell/file_replace.h"

#include <QFileInfo>
#include <QSaveFile>

namespace pulvitra {

WriteResult write_file_replacing(const QString& path, const QByteArray& bytes) {
  WriteResult out;
  // Replacing by rename would pass over a file the user has protected against writing.
  const QFileInfo target(path);
  if (target.exists() && !target.isWritable()) {
    out.system_error = QStringLiteral("Permission denied");
    return out;
  }
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  // Unbuffered, so a write that fails part way (a full disk) is seen here: through the buffer a
  // small file's failure would only come up in the flush of commit(), which does not report it
  // and renames the cut-off file over the old one.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    out.system_error = file.errorString();
    return out;
  }
  if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
    out.system_error = file.errorString();
    file.cancelWriting();
    return out;
  }
  if (!file.commit()) {
    out.system_error = file.errorString();
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace pulvitra
