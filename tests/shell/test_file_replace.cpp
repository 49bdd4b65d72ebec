// The one writer of every file the program keeps (settings, recordings, reports, exports): on
// any failure the file that was there stays byte for byte, nothing is left beside it, and the
// caller gets the system's reason to name in its message.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <sys/mount.h>
#include <unistd.h>

#include "shell/file_replace.h"
#include "tests/support/file_bytes.h"

using namespace pulvitra;
using pulvitra::test::read_all;
using pulvitra::test::write_all;

namespace {

// Mounts undone when the test ends, also when it fails half way.
class Mounts {
 public:
  ~Mounts() {
    for (const QByteArray& m : mounted_) ::umount2(m.constData(), MNT_DETACH);
  }
  bool bind(const QString& from, const QString& onto) {
    return add(onto, ::mount(QFile::encodeName(from).constData(), QFile::encodeName(onto).constData(), nullptr,
                             MS_BIND, nullptr));
  }
  // A small tmpfs at FOLDER holding FILE with BYTES, then made read-only.
  bool read_only_tmpfs(const QString& folder, const QString& file, const QByteArray& bytes) {
    const QByteArray at = QFile::encodeName(folder);
    if (!add(folder, ::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k"))) return false;
    write_all(file, bytes);
    return ::mount(nullptr, at.constData(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
  }

 private:
  bool add(const QString& at, int result) {
    if (result != 0) return false;
    mounted_ << QFile::encodeName(at);
    return true;
  }
  QList<QByteArray> mounted_;
};

}  // namespace

// Each row puts something in the way of the write; the target's bytes (or its absence) and its
// folder's entries are compared before and after.
TEST(FileReplace, a_failed_replace_keeps_the_old_file_leaves_nothing_and_gives_the_systems_reason) {
  const QByteArray old_bytes = "the old file\r\n";
  struct Case {
    const char* what;
    // Prepares the scene in DIR and returns the target; "" when this machine cannot set it up.
    std::function<QString(const QString& dir, Mounts& mounts)> make;
    QString reason;
  };
  const Case cases[] = {
      {"a folder that does not exist", [](const QString& dir, Mounts&) { return dir + "/missing/out.pul"; },
       "No such file or directory"},
      {"a folder that is a file",
       [&](const QString& dir, Mounts&) {
         write_all(dir + "/plain", old_bytes);
         return dir + "/plain/out.pul";
       },
       "Not a directory"},
      {"a target on a read-only file system",
       [&](const QString& dir, Mounts& mounts) {
         QDir(dir).mkdir("ro");
         return mounts.read_only_tmpfs(dir + "/ro", dir + "/ro/out.pul", old_bytes) ? dir + "/ro/out.pul" : QString();
       },
       "Permission denied"},
      {"a target the system will not rename over (a mount point)",
       [&](const QString& dir, Mounts& mounts) {
         write_all(dir + "/out.pul", old_bytes);
         write_all(dir + "/elsewhere", old_bytes);
         return mounts.bind(dir + "/elsewhere", dir + "/out.pul") ? dir + "/out.pul" : QString();
       },
       "Device or resource busy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    Mounts mounts;
    const QString path = c.make(dir.path(), mounts);
    if (path.isEmpty()) {
      std::printf("[ SKIPPED  ] %s: needs the right to mount\n", c.what);
      continue;
    }
    const QByteArray before = read_all(path);
    const QString folder = QFileInfo(path).absolutePath();
    const QStringList entries_before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    const WriteResult result = write_file_replacing(path, "the new file\r\n");

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.system_error.contains(c.reason)) << result.system_error.toStdString();
    EXPECT_EQ(read_all(path), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries_before)
        << "no temporary file is left beside the target";
  }
}
