// The recorder's answers: the device test, the rate test and the upload run one after the
// other over one link against a port whose every reply comes from the fuzzer's bytes, on a
// clock of the target's own. Each dialogue must end with one of its defined outcomes, leave
// the controls unlocked and the link free, and the recording may change only by a complete
// upload.
//
// The bytes: the first says which rates the PC's port refuses (bits 0..4, one per rate of
// BaudTable) and which dialogues are left out (bit 5 the device test, bit 6 the rate test).
// Then every command the program writes takes one control byte: bits 0..2 the kind of answer,
// bits 3..7 its delay in steps of 5 ms (0..155 ms). When the bytes run out the recorder is
// silent.
#include <QCoroTask>
#include <QThread>
#include <QTimer>
#include <memory>
#include <stdexcept>

#include "device/comm_tests.h"
#include "device/ecomport.h"
#include "device/link.h"
#include "device/upload.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/virtual_clock.h"
#include "recording/decoder.h"
#include "recording/tekg.h"
#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra::fuzz {
namespace {

// A recorder behind the port interface that answers as the bytes say.
class FuzzedRecorder final : public PortInterface {
 public:
  FuzzedRecorder(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {
    refused_ = size_ > 0 ? data_[0] & 0x1F : 0;
    pos_ = size_ > 0 ? 1 : 0;
  }
  std::uint8_t skipped() const { return size_ > 0 ? data_[0] >> 5 : 0; }

  QString port() const override { return port_; }
  void set_port(const QString& name) override { port_ = name; }
  std::int32_t custom_baud_rate() const override { return rate_; }
  void set_custom_baud_rate(std::int32_t baud) override { rate_ = baud; }
  bool connected() const override { return connected_; }
  void open() override {
    if (connected_) return;
    if (hung_up_) throw EComPort(kErrOpen, 5);
    for (std::size_t i = 0; i < BaudTable.size(); ++i)
      if (rate_ == BaudTable[i] && (refused_ >> i & 1) != 0) throw EComPort(kErrSetState, 22);
    connected_ = true;
  }
  void close() override { connected_ = false; }
  void set_dtr(bool) override {}
  void set_rts(bool) override {}
  int write_str(const QByteArray& bytes) override {
    if (!connected_ || hung_up_) throw EComPort(kErrWrite, 5);
    answer(bytes);
    return static_cast<int>(bytes.size());
  }
  QByteArray read_str(int max_bytes) override {
    QByteArray taken = input_.left(max_bytes);
    input_.remove(0, taken.size());
    return taken;
  }
  int input_count() const override { return static_cast<int>(input_.size()); }

 private:
  int next() { return pos_ < size_ ? data_[pos_++] : -1; }

  // What a sound recorder answers to the command.
  QByteArray proper(const QByteArray& command) {
    if (command == "V") return QByteArray("\x01\x9C", 2);  // 412
    if (command == "g\r") return QByteArray("\xFB", 1);
    QByteArray blocks;
    for (char byte : command) {
      if (byte != 's') continue;
      for (int i = 0; i < kUploadBlockBytes; ++i) blocks += static_cast<char>((block_ * 8 + i) * 37 % 256);
      ++block_;
    }
    return blocks;
  }

  void answer(const QByteArray& command) {
    const int control = next();
    if (control < 0) return;
    const int delay_ms = (control >> 3) * 5;
    QByteArray reply;
    bool spoilt = false;
    switch (control & 7) {
      case 0: return;
      case 2: {
        const int length = std::max(next(), 0) % 17;
        for (int i = 0; i < length; ++i) reply += static_cast<char>(std::max(next(), 0));
        break;
      }
      case 3: spoilt = true; break;
      case 4: reply = proper(command); spoilt = true; break;
      case 5: hung_up_ = true; return;
      default: reply = proper(command); break;
    }
    QTimer::singleShot(delay_ms, this, [this, reply, spoilt] {
      if (!connected_) return;
      if (!reply.isEmpty()) {
        input_ += reply;
        emit rx_char(static_cast<int>(input_.size()));
      }
      if (spoilt) emit line_error(1);
    });
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::uint8_t refused_ = 0;
  QString port_ = QStringLiteral("COM1");
  std::int32_t rate_ = kBaseBaud;
  bool connected_ = false;
  bool hung_up_ = false;
  int block_ = 0;
  QByteArray input_;
};

class RecordingDialogs final : public Dialogs {
 public:
  DlgAnswer message(DlgIcon, DlgButtons buttons, const QString&, const QString& text) override {
    texts << text;
    return buttons == DlgButtons::Ok ? DlgAnswer::Ok : DlgAnswer::Cancel;
  }
  QString open_file_name(const QString&, const QString&, const QString&) override { return {}; }
  QString save_file_name(const QString&, const QString&, const QString&, const QString&, const QString&) override {
    return {};
  }
  void show_help(int) override {}
  QStringList texts;
};

class CountingHost final : public LinkHost {
 public:
  void lock() override {
    require(!locked, "a dialogue locks the controls once");
    locked = true;
    ++locks;
  }
  void unlock() override {
    require(locked, "a dialogue unlocks only what it locked");
    locked = false;
  }
  void report(const QString&) override { ++reports; }
  void notify(DialogueNotice notice) override {
    const NoticeMessage box = notice_message(notice, cur_lang);
    dialogs().message(box.icon, box.buttons, box.caption, box.text);
  }
  bool locked = false;
  int locks = 0;
  int reports = 0;
};

// Checks after every dialogue: the window idle and the link free for the next one.
void require_idle(const Link& link, const CountingHost& host, const Upload& upload) {
  require(!host.locked, "the controls are unlocked after every dialogue");
  require(!link.busy(), "the link is free after every dialogue");
  require(!link.PacingActive, "no block requests after a dialogue");
  require(upload.UploadRunning == 0, "no upload runs after a dialogue");
}

void run_dialogues(const std::uint8_t* data, std::size_t size, VirtualClockDispatcher& clock) {
  RecordingDialogs shown;
  set_dialogs(&shown);
  FuzzedRecorder recorder(data, size);
  QString port_name = QStringLiteral("COM1");
  QTimer timer1;
  Link link(recorder, timer1, port_name);
  link.now_ns = [&clock] { return clock.now_ns(); };
  CountingHost host;
  link.set_host(host);
  BaudList rates;
  rates.items = QStringList{"12800", "15625", "20833", "31250", "62500"};
  rates.shown = "62500";
  link.MaxBaud = 62500;

  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (int k = 1; k <= kImageSize; ++k) ekg->Image[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k % 7);
  ekg->FileName = "held.pul";
  DecoderState decoder;
  decoder.FixedInterval = 9;
  const auto held_image = ekg->Image;
  CommTests tests(link, rates);
  Upload upload(link, rates, *ekg, decoder);

  const QString device_ok = lang_text(QStringLiteral("Kommunikation - Kordamat erfolgreich !"),
                                      QStringLiteral("communication - Kordamat successful !"));
  const QString device_error = lang_text(QStringLiteral("Kommunikation - Kordamat Fehler !"),
                                         QStringLiteral("communication - Kordamat Error !"));

  if ((recorder.skipped() & 1) == 0) {
    const int reports = host.reports;
    QCoro::waitFor(tests.run_device_test());
    require_idle(link, host, upload);
    require(host.locks == 1, "the device test locks the controls");
    if (host.reports == reports) {
      require(shown.texts.size() == 1, "the device test shows one message");
      require(shown.texts[0] == device_ok || shown.texts[0] == device_error, "the device test says answered or not");
    }
    require(shown.texts.size() <= 1, "the device test shows at most one message");
  }
  shown.texts.clear();

  if ((recorder.skipped() & 2) == 0) {
    const std::int32_t before = link.MaxBaud;
    QCoro::waitFor(tests.run_rate_test());
    require_idle(link, host, upload);
    require(shown.texts.size() <= 1, "the rate test shows at most one message");
    require(shown.texts.isEmpty() || shown.texts[0] == device_error, "the rate test's one message is the error");
    require(link.MaxBaud == before || rates.items.contains(QString::number(link.MaxBaud)),
            "the rate test chooses one of the listed rates");
  }
  shown.texts.clear();

  const int reports = host.reports;
  const std::optional<UploadOutcome> outcome = QCoro::waitFor(upload.start_or_stop());
  require_idle(link, host, upload);
  require(outcome.has_value(), "an upload on a free link starts");
  QString expected_text;
  switch (*outcome) {
    case UploadOutcome::NoDevice: expected_text = table_text("txt_no_device"); break;
    case UploadOutcome::LinkLost: expected_text = table_text("txt_link_lost"); break;
    case UploadOutcome::Complete: expected_text = table_text("txt_upload_ok"); break;
    case UploadOutcome::CommError:
      expected_text = lang_text(QStringLiteral("Fehler Kommunikation"), QStringLiteral("error communication"));
      break;
    case UploadOutcome::RateRefused: break;
    case UploadOutcome::PortFailed: require(host.reports == reports + 1, "a failing port is reported once"); break;
    case UploadOutcome::Stopped:
    case UploadOutcome::Abandoned: require(false, "nobody stopped the upload"); break;
  }
  if (expected_text.isEmpty()) {
    require(shown.texts.isEmpty(), "a refused rate or a failing port shows no message box");
  } else {
    require(shown.texts.size() == 1 && shown.texts[0] == expected_text, "the upload shows its outcome's message");
  }
  require(ekg->FileName == "held.pul", "an upload does not rename the recording");
  require(decoder.FixedInterval == 9, "an upload keeps the fixed interval");
  if (*outcome == UploadOutcome::Complete) {
    require(upload.blocks_received() == kUploadBlocks, "a complete upload has every block");
  } else {
    require(ekg->Image == held_image, "an incomplete upload leaves the recording as it was");
  }
  set_dialogs(nullptr);
}

}  // namespace

int fuzz_recorder_answers(const std::uint8_t* data, std::size_t size) {
  // The dialogues run on a thread whose timers follow the target's clock.
  auto* clock = new VirtualClockDispatcher;
  std::unique_ptr<QThread> thread(QThread::create([&] { run_dialogues(data, size, *clock); }));
  thread->setEventDispatcher(clock);  // the thread owns it from now on
  thread->start();
  thread->wait();
  return 0;
}

}  // namespace pulvitra::fuzz
