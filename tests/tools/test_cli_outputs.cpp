// Where the tools' outputs may not go, and what a failed write leaves behind. For every command
// that writes a file and every kind of wrong or failing destination: the exit code, the message,
// the destination exactly as it was, no temporary file beside it, and an end within 5 s (a FIFO
// must never hold a command up). Then standard output that cannot be written.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "tests/support/file_bytes.h"
#include "tests/support/run_cli.h"

using namespace pulvitra::test;

namespace {

enum class Spot { kInput, kInputByLink, kOtherRecording, kFifo, kDevice, kFolder, kReadOnlyFolder, kFullDisk };

struct Writer {
  const char* name;
  std::function<QStringList(const QString& input, const QString& out)> args;
  bool has_input;       // outputs that are an input are refused
  bool writes_records;  // an existing recording needs --force instead of being refused
};

const std::vector<Writer>& writers() {
  static const std::vector<Writer> all = {
      {"export csv", [](auto in, auto out) { return QStringList{"export", in, "--format", "csv", "-o", out}; }, true, false},
      {"export edf", [](auto in, auto out) { return QStringList{"export", in, "--format", "edf", "-o", out}; }, true, false},
      {"report", [](auto in, auto out) { return QStringList{"report", in, "--dpi", "72", "-o", out}; }, true, false},
      {"render", [](auto in, auto out) { return QStringList{"render", in, "--view", "trend", "-o", out}; }, true, false},
      // Twenty rows, so that the table is larger than what a full disk still takes.
      {"summary", [](auto in, auto out) { return QStringList{"summary"} << QStringList(20, in) << "-o" << out; }, true, false},
      {"generate", [](auto, auto out) { return QStringList{"generate", out}; }, false, true},
      // No recorder answers on COM8: a refusal must come before the port is even opened.
      {"upload", [](auto, auto out) { return QStringList{"upload", "--port", "COM8", "-o", out}; }, false, true},
  };
  return all;
}

bool as_root() { return ::geteuid() == 0; }

// A small file system that holds the old file and has 4096 bytes left: every output here is
// larger, so its write fails part way.
bool mount_nearly_full(const QString& folder, const QString& old_file) {
  QDir().mkpath(folder);
  if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") != 0) return false;
  write_all(old_file, "the old file\n");
  QFile filler(folder + "/filler");
  filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size()) {
  }
  filler.resize(std::max<qint64>(0, filler.size() - 4096));
  return true;
}

struct Destination {
  QString path;
  QString expected_message;  // a part of the message on standard error
  int expected_exit = 2;
  QString skipped;  // why the row cannot be tried here
};

class Scene {
 public:
  explicit Scene(const QString& root) : root_(root) {}
  ~Scene() {
    for (const QString& m : mounts_) ::umount2(QFile::encodeName(m).constData(), MNT_DETACH);
  }
  Destination make(Spot spot, const Writer& w, const QString& input) {
    const QString dir = root_ + "/" + QString::number(count_++);
    QDir().mkpath(dir);
    switch (spot) {
      case Spot::kInput: return {input, "is an input of this command"};
      case Spot::kInputByLink:
        QFile::link(input, dir + "/link.pul");
        return {dir + "/link.pul", "is an input of this command"};
      case Spot::kOtherRecording:
        QFile::copy(input, dir + "/other.pul");
        return {dir + "/other.pul", w.writes_records ? "is an existing recording; --force replaces it"
                                                     : "is a recording file and is not overwritten"};
      case Spot::kFifo:
        ::mkfifo(QFile::encodeName(dir + "/fifo").constData(), 0644);
        return {dir + "/fifo", "is a FIFO, not a file"};
      case Spot::kDevice:
        if (!as_root()) return {{}, {}, 0, "making a device node needs root"};
        ::mknod(QFile::encodeName(dir + "/null").constData(), S_IFCHR | 0666, makedev(1, 3));
        return {dir + "/null", "is a device, not a file"};
      case Spot::kFolder:
        QDir().mkpath(dir + "/folder");
        return {dir + "/folder", "is a folder, not a file"};
      case Spot::kReadOnlyFolder:
        if (as_root()) {
          // Root writes into any folder; a read-only file system stops root too.
          if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
            return {{}, {}, 0, "cannot mount a read-only tmpfs here"};
          mounts_ << dir;
        } else {
          QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        }
        return {dir + "/out", as_root() ? "Read-only file system" : "Permission denied",
                w.writes_records && QString(w.name) == "upload" ? 2 : 1};
      case Spot::kFullDisk:
        if (QString(w.name) == "upload") return {{}, {}, 0, "an upload that gets this far needs a recorder"};
        if (!as_root()) return {{}, {}, 0, "mounting a small tmpfs needs root"};
        if (!mount_nearly_full(dir, dir + "/out")) return {{}, {}, 0, "cannot mount a tmpfs here"};
        mounts_ << dir;
        return {dir + "/out", "No space left on device", 1};
    }
    return {};
  }

 private:
  QString root_;
  QStringList mounts_;
  int count_ = 0;
};

// What is at a path, to compare before and after: its kind and, for a file, its bytes; for a
// folder, its entries (a temporary file left behind would show up there).
QString state_of(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return "absent";
  if (S_ISLNK(st.st_mode)) return "link to " + QFile::symLinkTarget(path);
  if (S_ISFIFO(st.st_mode)) return "fifo";
  if (S_ISCHR(st.st_mode)) return QString("device %1").arg(st.st_rdev);
  if (S_ISDIR(st.st_mode)) return "folder: " + QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(' ');
  return QString::fromLatin1(read_all(path).toHex());
}

QString folder_of(const QString& path) { return QFileInfo(path).absolutePath(); }

TEST(CliOutputs, WrongOrFailingDestinationsLoseNothing) {
  QTemporaryDir dir;
  const QString input = dir.filePath("input.pul");
  ASSERT_EQ(run_cli({"generate", input, "--seed", "5"}).exit_code, 0);
  const QByteArray input_bytes = read_all(input);
  Scene scene(dir.filePath("spots"));
  const QList<Spot> spots = {Spot::kInput,  Spot::kInputByLink,    Spot::kOtherRecording, Spot::kFifo,
                             Spot::kDevice, Spot::kFolder, Spot::kReadOnlyFolder, Spot::kFullDisk};
  for (const Writer& w : writers()) {
    for (const Spot spot : spots) {
      if (!w.has_input && (spot == Spot::kInput || spot == Spot::kInputByLink)) continue;
      const Destination d = scene.make(spot, w, input);
      const std::string row = std::string(w.name) + " to spot " + std::to_string(int(spot));
      if (!d.skipped.isEmpty()) {
        std::printf("[ SKIPPED  ] %s: %s\n", row.c_str(), qPrintable(d.skipped));
        continue;
      }
      const QString before = state_of(d.path);
      const QString folder_before = state_of(folder_of(d.path));
      const CliRun run = run_cli(w.args(input, d.path), QProcessEnvironment::systemEnvironment(), {5000, {}});
      EXPECT_EQ(run.exit_code, d.expected_exit) << row << ": " << run.err.toStdString();
      EXPECT_TRUE(run.err.contains(d.expected_message)) << row << ": " << run.err.toStdString();
      EXPECT_TRUE(run.err.contains(d.path)) << row << ": the message names the file";
      EXPECT_EQ(state_of(d.path), before) << row;
      EXPECT_EQ(state_of(folder_of(d.path)), folder_before) << row << ": nothing left beside it";
      EXPECT_EQ(read_all(input), input_bytes) << row;
    }
  }
}

TEST(CliOutputs, StandardOutputThatCannotBeWrittenFails) {
  QTemporaryDir dir;
  const QString input = dir.filePath("input.pul");
  ASSERT_EQ(run_cli({"generate", input, "--seed", "5"}).exit_code, 0);
  const QList<QStringList> commands = {{"info", input},     {"decode", input},          {"stats", input},
                                       {"summary", input},  {"summary", input, "-o", "-"},
                                       {"export", input, "-o", "-"}, {"folders"}, {"--help"}};
  for (const QStringList& args : commands) {
    const CliRun run = run_cli(args, QProcessEnvironment::systemEnvironment(), {5000, "/dev/full"});
    EXPECT_EQ(run.exit_code, 1) << args.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("cannot write standard output: No space left on device"))
        << args.join(' ').toStdString() << ": " << run.err.toStdString();
  }
}

}  // namespace
