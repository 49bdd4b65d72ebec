// Upload paths that a pseudo-terminal cannot produce: a PC port that refuses the fast rate.
// An in-process recorder behind the port interface answers the identification and blocks and
// keeps a transcript of everything the upload sent, with the rate it was sent at.
#include <QCoroTask>
#include <QTimer>
#include <cerrno>
#include <gtest/gtest.h>
#include <set>

#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"
#include "device/ecomport.h"
#include "device/upload.h"
#include "tests/support/logging_hosts.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

class FakeRecorderPort final : public PortInterface {
 public:
  std::set<std::int32_t> refused_rates;
  QStringList transcript;  // "rate: bytes in hex"

  QString port() const override { return name_; }
  void set_port(const QString& name) override { name_ = name; }
  std::int32_t custom_baud_rate() const override { return rate_; }
  void set_custom_baud_rate(std::int32_t baud) override { rate_ = baud; }
  bool connected() const override { return open_; }
  void open() override {
    if (refused_rates.count(rate_) != 0) throw EComPort(kErrSetState, EINVAL);
    open_ = true;
  }
  void close() override { open_ = false; }
  void set_dtr(bool) override {}
  void set_rts(bool) override {}
  int write_str(const QByteArray& bytes) override {
    if (!open_) throw EComPort(kErrWrite, EBADF);
    transcript << QStringLiteral("%1: %2").arg(rate_).arg(QString::fromLatin1(bytes.toHex(' ')));
    if (bytes == "V") answer(QByteArray("\x01\x9C", 2));
    if (bytes == "s") answer(QByteArray(8, '\x7D'));
    return static_cast<int>(bytes.size());
  }
  QByteArray read_str(int max_bytes) override {
    const QByteArray out = input_.left(max_bytes);
    input_.remove(0, out.size());
    return out;
  }
  int input_count() const override { return static_cast<int>(input_.size()); }

 private:
  // Replies arrive a moment later, as from a line.
  void answer(const QByteArray& bytes) {
    QTimer::singleShot(1, this, [this, bytes] {
      input_ += bytes;
      emit rx_char(static_cast<int>(input_.size()));
    });
  }

  QString name_ = QStringLiteral("COM1");
  std::int32_t rate_ = 9600;
  bool open_ = false;
  QByteArray input_;
};

// The link and upload as the device page sets them up, over the fake recorder.
class UploadSteps : public ::testing::Test {
 protected:
  UploadSteps() {
    cur_lang = kEnglish;
    link.set_host(link_host);
    upload.set_host(upload_host);
    upload_host.on_progress = [this](int position) {
      if (position == stop_at) upload.StopRequested = true;
    };
  }
  ScriptedDialogs dialogs;
  LoggingLinkHost link_host;
  LoggingUploadHost upload_host;
  FakeRecorderPort port;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{port, timer1, port_name};
  BaudList baud;
  std::unique_ptr<TEKG> ekg = std::make_unique<TEKG>();
  DecoderState decoder;
  Upload upload{link, baud, *ekg, decoder};
  QStringList& lock = link_host.events;
  QList<int>& progress = upload_host.positions;
  int stop_at = -1;
};

TEST_F(UploadSteps, PortRefusingTheFastRateEndsSilentlyWithoutReadingAndWithoutT) {
  link.MaxBaud = 62500;
  port.refused_rates = {62500};

  EXPECT_EQ(QCoro::waitFor(upload.start_or_stop()), UploadOutcome::RateRefused);

  EXPECT_TRUE(dialogs.messages().isEmpty()) << "only the log tells";
  EXPECT_EQ(link.com_stat(),
            (QStringList{"COM1 4800 baud", "COM1 62500 baud", "crit.error Baudrate", "COM1 4800 baud",
                         "COM1: the port does not take 62500 baud: SetCommState function failed (Invalid argument, errno 22)",
                         "Choose a lower rate."}));
  // Identified, read mode, rate change; then nothing more: no "i", no blocks, no "t".
  EXPECT_EQ(port.transcript, (QStringList{"4800: 56", "4800: 72 00", "4800: 42 ff"}));
  EXPECT_TRUE(port.connected()) << "back at 4800 baud for the next dialogue";
  EXPECT_EQ(port.custom_baud_rate(), 4800);
  EXPECT_EQ(lock, (QStringList{"open", "close"}));
  EXPECT_EQ(progress, (QList<int>{0, 0}));
  EXPECT_EQ(upload.UploadRunning, 0);
  EXPECT_FALSE(link.PacingActive);
}

TEST_F(UploadSteps, MaxBaudOutsideTheTableIsReplacedBy12800AndTheRecorderHearsItAll) {
  link.MaxBaud = 9600;
  stop_at = 20;

  EXPECT_EQ(QCoro::waitFor(upload.start_or_stop()), UploadOutcome::Stopped);

  EXPECT_EQ(link.MaxBaud, 12800);
  EXPECT_EQ(baud.text(), QStringLiteral("12800")) << "the selector shows the rate used";
  ASSERT_GE(port.transcript.size(), 8);
  EXPECT_EQ(port.transcript.mid(0, 5),
            (QStringList{"4800: 56", "4800: 72 00", "4800: 42 fb", "12800: 69", "12800: 79"}));
  EXPECT_EQ(port.transcript.back(), QStringLiteral("12800: 74")) << "t at the fast rate, last of all";
  EXPECT_EQ(port.custom_baud_rate(), 4800);
  EXPECT_EQ(link.PrecTimer1.Interval(), 8u) << "12800 baud is paced every 8 ms";
  EXPECT_FALSE(link.PrecTimer1.Enabled());
  EXPECT_FALSE(link.PrecTimer1.Periodic());
}

}  // namespace
}  // namespace pulvitra
