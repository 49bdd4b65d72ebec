#include "shell/bounded_read.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/language.h"
#include "shell/system_error.h"

namespace pulvitra {

namespace {

BoundedRead& failed(BoundedRead& out, int error) {
  // A missing folder on the way is as missing as a missing file.
  out.refusal = error == ENOENT || error == ENOTDIR ? ReadRefusal::Missing : ReadRefusal::Failed;
  out.system_error = error;
  return out;
}

BoundedRead& not_regular(BoundedRead& out, mode_t mode) {
  out.refusal = ReadRefusal::NotRegular;
  out.file_type = static_cast<unsigned>(mode & S_IFMT);
  return out;
}

QString size_text(qint64 bytes) {
  constexpr qint64 kKiB = 1024;
  if (bytes % (kKiB * kKiB) == 0) return QStringLiteral("%1 MiB").arg(bytes / (kKiB * kKiB));
  if (bytes % kKiB == 0) return QStringLiteral("%1 KiB").arg(bytes / kKiB);
  return lang_text(QStringLiteral("%1 Bytes"), QStringLiteral("%1 bytes")).arg(bytes);
}

}  // namespace

BoundedRead read_bounded(const QString& path, qint64 limit) {
  BoundedRead out;
  out.path = path;
  out.limit = limit;
  const QByteArray name = QFile::encodeName(path);
  // Looked at before it is opened: opening a device can have effects of its own (a serial
  // line raises its modem lines), and opening a named pipe would wait for a writer.
  struct stat seen {};
  if (::stat(name.constData(), &seen) != 0) return failed(out, errno);
  if (!S_ISREG(seen.st_mode)) return not_regular(out, seen.st_mode);
  if (seen.st_size > limit) {
    out.refusal = ReadRefusal::TooBig;
    return out;
  }

  int fd = -1;
  do {
    fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return failed(out, errno);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    const int error = errno;
    ::close(fd);
    return failed(out, error);
  }
  if (!S_ISREG(opened.st_mode)) {
    ::close(fd);
    return not_regular(out, opened.st_mode);
  }

  // One byte beyond the limit tells a file that is too big; the size seen above is not
  // trusted, since a file may grow, and some report no size at all.
  QByteArray bytes;
  char chunk[64 * 1024];
  while (bytes.size() <= limit) {
    const auto want = static_cast<size_t>(std::min<qint64>(sizeof chunk, limit + 1 - bytes.size()));
    const ssize_t got = ::read(fd, chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      return failed(out, error);
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<qsizetype>(got));
  }
  ::close(fd);
  if (bytes.size() > limit) {
    out.refusal = ReadRefusal::TooBig;
    return out;
  }
  out.refusal = ReadRefusal::None;
  out.bytes = bytes;
  return out;
}

QString refusal_reason(const BoundedRead& result) {
  switch (result.refusal) {
    case ReadRefusal::None:
    case ReadRefusal::Missing:
      return QString();
    case ReadRefusal::NotRegular:
      switch (result.file_type) {
        case S_IFIFO:
          return lang_text(QStringLiteral("sie ist eine benannte Pipe (FIFO), keine gewöhnliche Datei"),
                           QStringLiteral("it is a named pipe (FIFO), not a regular file"));
        case S_IFCHR:
        case S_IFBLK:
          return lang_text(QStringLiteral("sie ist ein Gerät, keine gewöhnliche Datei"),
                           QStringLiteral("it is a device, not a regular file"));
        case S_IFDIR:
          return lang_text(QStringLiteral("sie ist ein Ordner, keine Datei"), QStringLiteral("it is a folder, not a file"));
        default:
          return lang_text(QStringLiteral("sie ist keine gewöhnliche Datei"), QStringLiteral("it is not a regular file"));
      }
    case ReadRefusal::TooBig:
      return lang_text(QStringLiteral("sie ist größer als %1"), QStringLiteral("it is larger than %1"))
          .arg(size_text(result.limit));
    case ReadRefusal::Failed:
      return system_error_text(result.system_error);
  }
  return QString();
}

}  // namespace pulvitra
