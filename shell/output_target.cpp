#include "shell/output_target.h"

#include <sys/stat.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include "shell/language.h"

namespace pulvitra {

namespace {

// stat follows links, so a link to a FIFO counts as the FIFO it leads to.
bool stat_of(const QString& path, struct stat& out) {
  return ::stat(QFile::encodeName(path).constData(), &out) == 0;
}

QString kind_of(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return lang_text(QStringLiteral("ein Ordner"), QStringLiteral("a folder"));
  if (S_ISFIFO(st.st_mode)) return lang_text(QStringLiteral("eine FIFO"), QStringLiteral("a FIFO"));
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
    return lang_text(QStringLiteral("ein Gerät"), QStringLiteral("a device"));
  return lang_text(QStringLiteral("ein Socket"), QStringLiteral("a socket"));
}

}  // namespace

bool same_file(const QString& a, const QString& b) {
  struct stat sa {}, sb {};
  return stat_of(a, sa) && stat_of(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString output_refusal(const QString& path, const QStringList& inputs) {
  for (const QString& input : inputs)
    if (same_file(path, input))
      return lang_text(QStringLiteral("%1 ist eine Eingabe dieses Befehls und wird nicht überschrieben"),
                       QStringLiteral("%1 is an input of this command and is not overwritten"))
          .arg(path);
  struct stat st {};
  if (stat_of(path, st) && !S_ISREG(st.st_mode))
    return lang_text(QStringLiteral("%1 ist %2, keine Datei, und wird nicht ersetzt"),
                     QStringLiteral("%1 is %2, not a file, and is not replaced"))
        .arg(path, kind_of(st));
  return {};
}

bool output_folder_writable(const QString& path, QString& reason) {
  const QFileInfo target(path);
  if (target.exists() && !target.isWritable()) {
    reason = QStringLiteral("Permission denied");
    return false;
  }
  QTemporaryFile probe(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
  if (!probe.open()) {
    reason = probe.errorString();
    return false;
  }
  return true;
}

}  // namespace pulvitra
