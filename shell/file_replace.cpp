#include "shell/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QFileInfo>
#include <QSaveFile>

#include "shell/language.h"
#include "shell/native_name.h"
#include "shell/output_target.h"

namespace pulvitra {

namespace {

// The rename is only durable once the folder's entry is on the disk too. A file system that
// cannot sync a folder has nothing more to offer; the file itself is synced by then.
void sync_folder_of(const QString& path) {
  const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  ::fsync(folder);
  ::close(folder);
}

// Every byte to the descriptor, then fsync; 0 or the errno of the first failure.
int write_and_sync(int fd, const QByteArray& bytes) {
  const char* next = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, next, static_cast<std::size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    next += n;
    left -= n;
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

WriteResult write_file_replacing(const QString& path, const QByteArray& bytes) {
  WriteResult out;
  // A name made from bytes that are no UTF-8 stands for a file that Qt cannot name; writing
  // through it would make a file of another name.
  if (is_stand_in(path)) {
    out.system_error = lang_text(QStringLiteral("der Name enthält Bytes, die kein UTF-8 sind"),
                                 QStringLiteral("the name holds bytes that are not UTF-8"));
    return out;
  }
  // A rename would replace a FIFO, a device node or a folder by a plain file.
  if (const QString refusal = output_refusal(path, {}); !refusal.isEmpty()) {
    out.system_error = refusal;
    return out;
  }
  // Replacing by rename would pass over a file the user has protected against writing.
  const QFileInfo target(path);
  if (target.exists() && !target.isWritable()) {
    out.system_error = QStringLiteral("Permission denied");
    return out;
  }
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    out.system_error = file.errorString();
    return out;
  }
  // Written through the descriptor, so that the system's reason for a failure (a full disk)
  // reaches the message; then synced, so that a file system that only finds out here that it
  // is full never leaves a cut file under the old name.
  if (const int failure = write_and_sync(file.handle(), bytes); failure != 0) {
    out.system_error = QString::fromLocal8Bit(std::strerror(failure));
    file.cancelWriting();
    return out;
  }
  if (!file.commit()) {
    out.system_error = file.errorString();
    return out;
  }
  sync_folder_of(path);
  out.ok = true;
  return out;
}

}  // namespace pulvitra
