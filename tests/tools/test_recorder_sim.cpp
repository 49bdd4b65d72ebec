// The simulated recorder as the program's device dialogues meet it: run as its own process on
// a pseudo-terminal, driven through the slave side at the rates a serial port would be set to.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSim = QStringLiteral(PULVITRA_BIN_DIR "/recorder-sim");

// A recording file whose image bytes tell their own position: byte j of block n is n mod 251
// for j = 0 and j for the others, so a wrong or shifted block shows at once.
QByteArray numbered_recording() {
  QByteArray file(512, ' ');
  file.replace(0, 14, QByteArray("KORDAMAT File\0", 14));
  for (int n = 0; n < 4096; ++n) {
    file.append(static_cast<char>(n % 251));
    for (int j = 1; j < 8; ++j) file.append(static_cast<char>(j));
  }
  return file;
}

// One simulator and the program's end of its line.
class SimLine {
 public:
  explicit SimLine(QStringList args) {
    sim_.setProgram(kSim);
    sim_.setArguments(args);
    sim_.start();
    if (!sim_.waitForStarted(5000) || !sim_.waitForReadyRead(5000)) return;
    path_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  }
  ~SimLine() {
    if (fd_ >= 0) ::close(fd_);
    sim_.terminate();
    sim_.waitForFinished(5000);
  }
  bool ok() const { return fd_ >= 0; }
  const QString& path() const { return path_; }

  void set_rate(int rate) {
    struct termios2 tio {};
    ioctl(fd_, TCGETS2, &tio);
    tio.c_iflag = 0;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag = CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = tio.c_ospeed = static_cast<speed_t>(rate);
    ioctl(fd_, TCSETS2, &tio);
  }
  // The error marking the program asks its serial driver for (0377 0 x per garbled byte).
  void set_marking() {
    struct termios2 tio {};
    ioctl(fd_, TCGETS2, &tio);
    tio.c_iflag |= INPCK | PARMRK;
    ioctl(fd_, TCSETS2, &tio);
  }
  void send(const QByteArray& bytes) { ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size()); }

  // What arrives within ms, returning early once count bytes are there.
  QByteArray receive(int ms, int count = 1 << 20) {
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count && clock.elapsed() < ms) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(ms - clock.elapsed())) <= 0) continue;
      if ((p.revents & POLLHUP) != 0) break;
      char chunk[256];
      const ssize_t n = ::read(fd_, chunk, sizeof chunk);
      if (n > 0) got.append(chunk, n);
    }
    return got;
  }

  // Identification done, the recorder switched to rate and rewound, as the upload does it.
  void start_block_read(int rate, std::uint8_t code) {
    set_rate(4800);
    send(QByteArray("r\0", 2));
    send(QByteArray("B") + static_cast<char>(code));
    receive(60);
    set_rate(rate);
    send("i");
  }

 private:
  QProcess sim_;
  QString path_;
  int fd_ = -1;
};

struct IdentCase {
  const char* what;
  QStringList args;
  int line_rate;
  QByteArray command;
  QByteArray reply;
};

TEST(RecorderSim, AnswersIdentificationOnlyAsConfiguredAndAtItsOwnRate) {
  const IdentCase cases[] = {
      {"version at 4800", {}, 4800, "V", QByteArray("\x01\x9C", 2)},
      {"chosen version, big-endian", {"--version", "999"}, 4800, "V", QByteArray("\x03\xE7", 2)},
      {"wrong version is sent as asked", {"--version", "352"}, 4800, "V", QByteArray("\x01\x60", 2)},
      {"fallback answer", {}, 4800, "g\r", QByteArray("\xFB", 1)},
      {"V ignored", {"--no-v"}, 4800, "V", QByteArray()},
      {"fallback still answered", {"--no-v"}, 4800, "g\r", QByteArray("\xFB", 1)},
      {"silent", {"--silent"}, 4800, "V", QByteArray()},
      {"silent fallback", {"--silent"}, 4800, "g\r", QByteArray()},
      {"line at another rate", {}, 9600, "V", QByteArray()},
      {"g without CR", {}, 4800, "gV", QByteArray("\x01\x9C", 2)},
  };
  for (const IdentCase& c : cases) {
    SCOPED_TRACE(c.what);
    SimLine line(c.args);
    ASSERT_TRUE(line.ok());
    line.set_rate(c.line_rate);
    line.send(c.command);
    EXPECT_EQ(line.receive(c.reply.isEmpty() ? 150 : 2000, c.reply.size()).toHex(), c.reply.toHex());
  }
}

TEST(RecorderSim, ServesExactlyTheWholeMemoryAndNothingAfterTheLastBlock) {
  QTemporaryDir dir;
  const QString pul = dir.filePath("numbered.pul");
  QFile out(pul);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(numbered_recording());
  out.close();

  SimLine line({"--image", pul});
  ASSERT_TRUE(line.ok());
  line.start_block_read(62500, 255);
  QByteArray image;
  for (int chunk = 0; chunk < 4096 / 128; ++chunk) {
    line.send(QByteArray(128, 's'));
    image += line.receive(5000, 128 * 8);
  }
  EXPECT_EQ(image, numbered_recording().mid(512));
  line.send("s");
  EXPECT_TRUE(line.receive(150).isEmpty());
}

TEST(RecorderSim, FaultOptionsShapeTheBlockReplies) {
  struct Case {
    const char* what;
    QStringList args;
    int rate;
    std::uint8_t code;
    std::vector<int> reply_sizes;  // bytes answered to each "s", in order
  };
  const Case cases[] = {
      {"slowest fast rate", {}, 12800, 251, {8, 8}},
      {"below the highest rate", {"--max-rate", "31250"}, 31250, 254, {8, 8}},
      {"above the highest rate", {"--max-rate", "31250"}, 62500, 255, {0}},
      {"drop from block 3", {"--drop-block", "3"}, 62500, 255, {8, 8, 8, 0, 0}},
      {"short blocks", {"--short-blocks"}, 62500, 255, {5, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimLine line(c.args);
    ASSERT_TRUE(line.ok());
    line.start_block_read(c.rate, c.code);
    for (int size : c.reply_sizes) {
      line.send("s");
      EXPECT_EQ(line.receive(size == 0 ? 150 : 2000, size == 0 ? 8 : size).size(), size);
    }
  }
}

TEST(RecorderSim, ASpoiledLineDeliversWhatTheProgramsDriverWouldSee) {
  struct Case {
    const char* what;
    QStringList args;
    bool marking;        // the program's line marks errors
    bool switch_rate;    // the program leaves the recorder's rate before block 1 is sent
    int size;            // bytes that arrive for block 1
    QByteArray starts;   // their first bytes
  };
  const QByteArray mark("\377\0", 2);
  const Case cases[] = {
      {"garbled block, marked", {"--garble-block", "1"}, true, false, 24, mark},
      {"garbled block, unmarked", {"--garble-block", "1"}, false, false, 8, QByteArray()},
      {"break, marked", {"--break-at", "1"}, true, false, 3, QByteArray("\377\0\0", 3)},
      {"break, unmarked", {"--break-at", "1"}, false, false, 1, QByteArray(1, '\0')},
      {"reply into a line at another rate", {"--stall-ms", "100"}, true, true, 24, mark},
      {"the same, with silence instead", {"--stall-ms", "100", "--silent-mismatch"}, true, true, 0, QByteArray()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimLine line(c.args);
    ASSERT_TRUE(line.ok());
    line.start_block_read(62500, 255);
    line.send("s");
    EXPECT_EQ(line.receive(2000, 8).size(), 8) << "block 0 is intact";
    if (c.marking) line.set_marking();
    line.send("s");
    if (c.switch_rate) {
      line.receive(30);  // the recorder has heard "s" and holds its reply back
      line.set_rate(31250);
    }
    if (c.switch_rate && c.marking) line.set_marking();
    const QByteArray got = line.receive(c.size == 0 ? 300 : 2000, c.size == 0 ? 1 : c.size);
    EXPECT_EQ(got.size(), c.size) << got.toHex().toStdString();
    EXPECT_TRUE(got.startsWith(c.starts)) << got.toHex().toStdString();
  }
}

TEST(RecorderSim, AReplyTakesTheLineTimeOfTenBitsPerByte) {
  SimLine line({});
  ASSERT_TRUE(line.ok());
  line.start_block_read(12800, 251);
  QElapsedTimer clock;
  clock.start();
  line.send(QByteArray(4, 's'));
  EXPECT_EQ(line.receive(2000, 32).size(), 32);
  // Four blocks of 80 bits at 12800 baud: 25 ms on the line.
  EXPECT_GE(clock.elapsed(), 25);
}

TEST(RecorderSim, StallDelaysEachBlockButKeepsItsContent) {
  SimLine line({"--stall-ms", "300"});
  ASSERT_TRUE(line.ok());
  line.start_block_read(62500, 255);
  line.send("s");
  EXPECT_TRUE(line.receive(100).isEmpty()) << "a stalled block must miss a 100 ms wait";
  EXPECT_EQ(line.receive(3000, 8).size(), 8);
}

TEST(RecorderSim, LinkAndLogShowWhereItListensAndWhatItHeard) {
  QTemporaryDir dir;
  const QString link = dir.filePath("COM1");
  const QString log = dir.filePath("sim.log");
  {
    SimLine line({"--link", link, "--log", log});
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), line.path());
    line.set_rate(9600);
    line.send("V");
    line.receive(100);
    line.set_rate(4800);
    line.send(QByteArray("r\0", 2));
    line.receive(100);
  }
  EXPECT_FALSE(QFileInfo::exists(link)) << "the link goes with the simulator";
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(file.readAll());
  EXPECT_TRUE(text.contains("rx 9600 baud: V  (recorder at 4800 baud: garbled, ignored)")) << text.toStdString();
  EXPECT_TRUE(text.contains("rx 4800 baud: r 00")) << text.toStdString();
}

TEST(RecorderSim, RefusesBadOptionsAndDamagedFilesWithAMessage) {
  QTemporaryDir dir;
  const QString short_file = dir.filePath("short.pul");
  QFile out(short_file);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(numbered_recording().left(20000));
  out.close();
  struct Case {
    QStringList args;
    const char* message;
  };
  const Case cases[] = {
      {{"--version", "abc"}, "--version needs a number"},
      {{"--drop-block"}, "--drop-block needs a number"},
      {{"--fast"}, "unknown option --fast"},
      {{"--image", dir.filePath("missing.pul")}, "cannot open"},
      {{"--image", short_file}, "is not a recording file (20000 bytes, expected 33280)"},
  };
  for (const Case& c : cases) {
    QProcess sim;
    sim.start(kSim, c.args);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_NE(sim.exitCode(), 0) << c.message;
    EXPECT_TRUE(sim.readAllStandardOutput().isEmpty()) << "no slave path for a simulator that does not run";
    EXPECT_TRUE(QString::fromLocal8Bit(sim.readAllStandardError()).contains(c.message)) << c.message;
  }
}

}  // namespace
