// Every dialogue with the recorder against every fault recorder-sim can play: the device test,
// the rate test and the upload each end with their own message, a known end of ComStat and a
// known port rate, leave the controls unlocked, and leave the recording alone unless an upload
// completed. The program's real serial port talks to recorder-sim on a pseudo-terminal.
#include <QCoroTask>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "device/comm_tests.h"
#include "device/serial_port.h"
#include "device/upload.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "shell/application.h"
#include "shell/language.h"
#include "tests/support/logging_hosts.h"
#include "tests/support/recorder_process.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/served_recording.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

enum class Operation { DeviceTest, RateTest, Upload };

struct Fault {
  const char* name;
  QStringList sim_args;
};

// Block faults strike at block 5, so a failing upload ends within a second; the rate test
// reads blocks 0..9 at each rate, so they strike it at the first rate.
const Fault kFaults[] = {
    {"silent", {"--silent"}},
    {"wrong version", {"--version", "1000"}},
    {"no V", {"--no-v"}},
    {"rate ceiling", {"--max-rate", "20833"}},
    {"dropped block", {"--drop-block", "5"}},
    {"stall", {"--stall-ms", "150"}},
    {"short blocks", {"--short-blocks"}},
    {"hang-up", {"--hangup-after", "5"}},
    {"garbling line", {"--garble-above", "20833"}},
    {"break", {"--break-at", "5"}},
};

const QString kTitle = QString::fromUtf8(kApplicationTitle);
const QString kDeviceOk = QStringLiteral("communication - Kordamat successful !");
const QString kDeviceError = QStringLiteral("communication - Kordamat Error !");
const QString kUploadOk = QStringLiteral(
    "Transmission completed successful!\r\n\r\nOn the following pages the data will be evaluated.");
const QString kLinkLost = QStringLiteral(
    "Contact disconnected or Kordamat switched off!\r\n\r\nCheck Kordamat and connection and start transmission again");
const QString kNoDevice = QStringLiteral(
    "Kordamat is wrong connected or not switched on!\r\n\r\nCheck Kordamat and connection and start transmission again!");
const QString kCommError = QStringLiteral("error communication");

struct Box {
  DlgIcon icon;
  QString caption;
  QString text;
};

const Box kBoxDeviceOk{DlgIcon::Information, kTitle, kDeviceOk};
const Box kBoxDeviceError{DlgIcon::Error, kTitle, kDeviceError};
const Box kBoxUploadOk{DlgIcon::Exclamation, "Transmission completed", kUploadOk};
const Box kBoxLinkLost{DlgIcon::Exclamation, "Connection error", kLinkLost};
const Box kBoxNoDevice{DlgIcon::Exclamation, "Connection error", kNoDevice};
const Box kBoxCommError{DlgIcon::Warning, kTitle, kCommError};

// recorder-sim with one fault, the program's link to it as the device page sets it up, and
// a recording with a file name and a fixed interval of its own.
struct FaultyLine {
  explicit FaultyLine(const QStringList& sim_args) {
    cur_lang = kEnglish;
    sim = std::make_unique<RecorderSim>(serving_arguments(home) + sim_args);
    port.set_port_map(sim->folder.ports());
    port.set_port(port_name);
    rates.items = QStringList{"12800", "15625", "20833", "31250", "62500"};
    rates.shown = "62500";
    link.MaxBaud = 62500;
    link.set_host(host);
    fill_held_recording(ekg, decoder);
  }
  ~FaultyLine() {
    try {
      port.close();
    } catch (...) {
    }
  }

  QTemporaryDir home;
  std::unique_ptr<RecorderSim> sim;
  LoggingLinkHost host;
  ScriptedDialogs dialogs;
  QString port_name = QStringLiteral("COM1");
  TComPortN port;
  QTimer timer1;
  Link link{port, timer1, port_name};
  BaudList rates;
  CommTests tests{link, rates};
  TEKG ekg;
  DecoderState decoder;
  Upload upload{link, rates, ekg, decoder};
};

struct Cell {
  Box box;                  // the one message the user sees
  QStringList com_stat;     // the whole of ComStat at the end
  std::int32_t rate_after;  // the port's rate at the end
  std::int32_t max_baud;    // MaxBaud at the end (the rate test's choice)
  bool complete = false;    // an upload that took the recorder's image
};

QStringList rate_lines(std::initializer_list<const char*> rates) {
  QStringList lines;
  for (const char* rate : rates) lines << "Test" << QStringLiteral("COM1 %1 baud").arg(QLatin1String(rate));
  return lines;
}

const QStringList kRateStart{"Test max. Baudrate", "COM1 4800 baud"};
const QStringList kRateUnidentified = kRateStart + QStringList{"communication", "Kordamat Error"};
const QStringList kUploadLines{"COM1 4800 baud", "COM1 62500 baud", "COM1 4800 baud"};

const QString kCable = QStringLiteral("Check the cable and switch the Kordamat on.");

// The rate test leaves the port at the last rate it tried (the recorder is told "t" and is
// back at 4800 baud; every dialogue opens the port at 4800 baud first). A failed upload ends
// the log with the port, its device (`where`), the cause and what to do.
Cell expected(Operation operation, const std::string& fault, const QString& where) {
  const QStringList all_rates = rate_lines({"12800", "15625", "20833", "31250", "62500"});
  const QStringList up_to_31250 = rate_lines({"12800", "15625", "20833", "31250"});
  const QStringList first_rate = rate_lines({"12800"});
  const bool unidentified = fault == "silent" || fault == "wrong version";
  switch (operation) {
    case Operation::DeviceTest:
      return {unidentified ? kBoxDeviceError : kBoxDeviceOk, {"COM1 4800 baud"}, 4800, 62500};
    case Operation::RateTest:
      // Unidentified, the test still tries the rates; the blocks decide.
      if (fault == "silent") return {kBoxDeviceError, kRateUnidentified + first_rate + QStringList{"Error"}, 12800, 12800};
      if (fault == "wrong version")
        return {kBoxDeviceError, kRateUnidentified + all_rates + QStringList{"Success"}, 62500, 62500};
      if (fault == "no V") return {{}, kRateStart + all_rates + QStringList{"Success"}, 62500, 62500};
      if (fault == "rate ceiling" || fault == "garbling line")
        return {{}, kRateStart + up_to_31250 + QStringList{"Error"}, 31250, 20833};
      return {{}, kRateStart + first_rate + QStringList{"Error"}, 12800, 12800};
    case Operation::Upload: {
      if (fault == "silent")
        return {kBoxNoDevice, {"COM1 4800 baud", where + ": no answer from the Kordamat", kCable}, 4800, 62500};
      if (fault == "wrong version")
        return {kBoxNoDevice,
                {"COM1 4800 baud", where + ": the device on this port does not answer as a Kordamat",
                 "Connect the Kordamat to this port or choose its port."},
                4800, 62500};
      if (fault == "no V") return {kBoxUploadOk, kUploadLines, 4800, 62500, true};
      // After a hang-up the line is gone: the port does not open again at 4800 baud.
      if (fault == "hang-up")
        return {kBoxCommError,
                kUploadLines + QStringList{"crit.error Baudrate",
                                           where + ": transmission error after N of 4096 blocks: connection lost", kCable},
                4800, 62500};
      const QString spoilt = fault == "break" ? "a break on the line" : "garbled bytes";
      if (fault == "garbling line" || fault == "break")
        return {kBoxCommError,
                kUploadLines + QStringList{where + ": transmission error after N of 4096 blocks: " + spoilt,
                                           "Check the cable or choose a lower rate."},
                4800, 62500};
      return {kBoxLinkLost, kUploadLines + QStringList{where + ": no data from the Kordamat after N of 4096 blocks", kCable},
              4800, 62500};
    }
  }
  return {};
}

TEST(FaultMatrix, EveryDialogueEndsProperlyOnEveryFaultOfTheLine) {
  const std::pair<Operation, const char*> operations[] = {
      {Operation::DeviceTest, "device test"}, {Operation::RateTest, "rate test"}, {Operation::Upload, "upload"}};
  const auto held = held_recording();
  const auto served = served_recording();
  int cells = 0;
  int holding = 0;
  for (const auto& [operation, operation_name] : operations) {
    for (const Fault& fault : kFaults) {
      SCOPED_TRACE(std::string(operation_name) + " / " + fault.name);
      const int failures_before = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
      ++cells;
      FaultyLine line(fault.sim_args);
      ASSERT_TRUE(line.sim->started);
      const Cell cell = expected(operation, fault.name, "COM1 (" + line.sim->link_path + ")");
      switch (operation) {
        case Operation::DeviceTest: QCoro::waitFor(line.tests.run_device_test()); break;
        case Operation::RateTest: QCoro::waitFor(line.tests.run_rate_test()); break;
        case Operation::Upload: {
          const auto outcome = QCoro::waitFor(line.upload.start_or_stop());
          EXPECT_TRUE(outcome.has_value());
          break;
        }
      }

      if (cell.box.text.isEmpty()) {
        EXPECT_TRUE(line.dialogs.messages().isEmpty());
      } else if (line.dialogs.messages().size() != 1) {
        ADD_FAILURE() << line.dialogs.messages().size() << " messages";
      } else {
        const DialogCall box = line.dialogs.messages().front();
        EXPECT_EQ(box.icon, cell.box.icon);
        EXPECT_EQ(box.caption, cell.box.caption);
        EXPECT_EQ(box.text, cell.box.text);
      }
      // How many blocks came before a fault depends on the timing; the upload tests count them.
      QStringList com_stat = line.link.com_stat();
      com_stat.replaceInStrings(QRegularExpression(" after \\d+ of 4096 "), " after N of 4096 ");
      EXPECT_EQ(com_stat, cell.com_stat) << com_stat.join(" | ").toStdString();
      EXPECT_EQ(line.port.custom_baud_rate(), cell.rate_after);
      EXPECT_EQ(line.link.MaxBaud, cell.max_baud);
      EXPECT_TRUE(line.host.reports.isEmpty()) << line.host.reports.join(" | ").toStdString();
      // The controls: locked once, unlocked once, and the link free for the next dialogue.
      EXPECT_EQ(line.host.events, (QStringList{"open", "close"}));
      EXPECT_FALSE(line.link.busy());
      EXPECT_FALSE(line.link.PacingActive);
      EXPECT_EQ(line.upload.UploadRunning, 0);
      // The recording: the recorder's image after a complete upload, else untouched.
      const auto& image = cell.complete ? served.image : held.image;
      EXPECT_TRUE(std::equal(image.begin(), image.end(), line.ekg.Image.begin() + 1));
      EXPECT_EQ(line.ekg.FileName, "/home/clinic/data/smith.pul");
      EXPECT_EQ(line.decoder.FixedInterval, 7);
      if (!cell.complete) {
        TEKG untouched;
        DecoderState state;
        copy_generated_image(held, untouched);
        DecodeRecording(untouched, state);
        EXPECT_EQ(line.ekg.BeatCount, untouched.BeatCount);
        EXPECT_EQ(line.ekg.BeatRate, untouched.BeatRate);
      }
      const int failures_after = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
      if (failures_after == failures_before) ++holding;
    }
  }
  EXPECT_EQ(cells, 30);
  EXPECT_EQ(holding, 30) << holding << " of " << cells << " cells hold";
}

}  // namespace
}  // namespace pulvitra
