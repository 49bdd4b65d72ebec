// pulvitra-cli upload against recorder-sim: the file it writes holds the served image, and a
// failed transfer writes nothing and says why.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "recording/recording_generator.h"

namespace {

const QString kCli = QStringLiteral(PULVITRA_BIN_DIR "/pulvitra-cli");
const QString kSim = QStringLiteral(PULVITRA_BIN_DIR "/recorder-sim");

struct CliRun {
  int exit_code = -1;
  QString out;
  QString err;
};

// A program folder whose COM1 is a running recorder-sim serving a generated recording, COM2 a
// device that is no serial line, and COM3 nothing at all.
class SimHome {
 public:
  explicit SimHome(const QStringList& sim_args) {
    pulvitra::GeneratorOptions options;
    options.seed = 2024;
    served_ = pulvitra::generate_recording(options);
    QByteArray file(512, ' ');
    file.replace(0, 14, QByteArray("KORDAMAT File\0", 14));
    file.append(reinterpret_cast<const char*>(served_.image.data()), pulvitra::kImageSize);
    QFile pul(path("served.pul"));
    pul.open(QIODevice::WriteOnly);
    pul.write(file);
    pul.close();
    QFile ini(path("Pulvitra.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write(("[Ports]\nCOM1=" + path("ttyKordamat") + "\nCOM2=/dev/null\n").toUtf8());
    ini.close();
    sim_.start(kSim, QStringList{"--image", path("served.pul"), "--link", path("ttyKordamat")} + sim_args);
    started_ = sim_.waitForStarted(5000) && sim_.waitForReadyRead(5000);
  }
  ~SimHome() {
    sim_.terminate();
    sim_.waitForFinished(5000);
  }
  bool started() const { return started_; }
  QString path(const QString& name) const { return dir_.filePath(name); }
  QByteArray served_image() const {
    return QByteArray(reinterpret_cast<const char*>(served_.image.data()), pulvitra::kImageSize);
  }

  CliRun upload(const QStringList& args) const {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULVITRA_HOME", dir_.path());
    cli.setProcessEnvironment(env);
    cli.start(kCli, QStringList{"upload"} + args);
    CliRun run;
    if (!cli.waitForFinished(60000)) return run;
    run.exit_code = cli.exitCode();
    run.out = QString::fromLocal8Bit(cli.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(cli.readAllStandardError());
    return run;
  }

 private:
  QTemporaryDir dir_;
  pulvitra::GeneratedRecording served_;
  QProcess sim_;
  bool started_ = false;
};

TEST(CliUpload, WritesARecordingFileWhoseImageIsTheServedOne) {
  SimHome home({});
  ASSERT_TRUE(home.started());
  const QString out = home.path("uploaded.pul");

  const CliRun run = home.upload({"--port", "COM1", "--max-baud", "62500", "-o", out});

  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(bytes.size(), 33280);
  EXPECT_EQ(bytes.left(14), QByteArray("KORDAMAT File\0", 14));
  EXPECT_EQ(bytes.mid(14, 2), QByteArray(" \0", 2)) << "the surname field is empty";
  EXPECT_EQ(bytes.at(511), 0) << "no fixed interval: the decoder estimates it";
  EXPECT_TRUE(bytes.mid(512) == home.served_image()) << "the image must be the served one byte for byte";
  EXPECT_TRUE(run.out.contains("4096 blocks at 62500 baud")) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains("block 1000 of 4096\n") && run.err.contains("block 4000 of 4096\n"))
      << "progress is shown: " << run.err.toStdString();
}

TEST(CliUpload, FailuresPrintTheProgramsMessageAndWriteNoFile) {
  struct Case {
    const char* what;
    QStringList sim_args;
    QStringList cli_args;
    int exit_code;
    const char* message;
  };
  const Case cases[] = {
      {"silent recorder", {"--silent"}, {"--port", "COM1", "--max-baud", "62500"}, 1,
       "Connection error: Kordamat is wrong connected or not switched on!\n\nCheck Kordamat and connection and start "
       "transmission again!"},
      {"recorder stops answering", {"--drop-block", "100"}, {"--port", "COM1", "--max-baud", "62500"}, 1,
       "Connection error: Contact disconnected or Kordamat switched off!"},
      {"no such port", {}, {"--port", "COM9", "--max-baud", "62500"}, 2, "--port takes COM1 to COM8"},
      {"a port with no device", {}, {"--port", "COM3", "--max-baud", "62500"}, 1,
       "COM3: Unable to open com port (No such file or directory, errno 2)"},
      {"a port that is no serial line", {}, {"--port", "COM2", "--max-baud", "62500"}, 1,
       "COM2 (/dev/null): SetCommState function failed (Invalid argument, errno 22)"},
      {"no uploads to repeat", {}, {"--port", "COM1", "--repeat", "0"}, 2, "--repeat takes a number of uploads, not '0'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimHome home(c.sim_args);
    ASSERT_TRUE(home.started());
    const QString out = home.path("uploaded.pul");
    const CliRun run = home.upload(c.cli_args + QStringList{"-o", out});

    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out)) << "nothing is written for an incomplete transfer";
  }
}

}  // namespace
