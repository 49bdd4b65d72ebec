// The upload end to end: the program's serial port, link and upload against recorder-sim on a
// pseudo-terminal, reached as COM1 through the [Ports] section of the settings file.
#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "shell/application.h"
#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"
#include "device/serial_port.h"
#include "device/upload.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "tests/support/logging_hosts.h"
#include "tests/support/recorder_process.h"
#include "tests/support/served_recording.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

const QString kEnglishOk = QStringLiteral(
    "Transmission completed successful!\r\n\r\nOn the following pages the data will be evaluated.");
const QString kEnglishAborted =
    QStringLiteral("Transmission completed unsuccessful!\r\n\r\nThe data won't be evaluated.");
const QString kEnglishLinkLost = QStringLiteral(
    "Contact disconnected or Kordamat switched off!\r\n\r\nCheck Kordamat and connection and start transmission again");
const QString kEnglishNoDevice = QStringLiteral(
    "Kordamat is wrong connected or not switched on!\r\n\r\nCheck Kordamat and connection and start transmission again!");

// recorder-sim serving served_recording(), the program's side of the link set up as the
// device page sets it up, and a scripted dialog seam that records every box.
class SimUpload {
 public:
  explicit SimUpload(const QStringList& sim_args) : sim_(serving_arguments(served_) + sim_args) {
    cur_lang = kEnglish;
    port_.set_port_map(sim_.folder.ports());
    port_.set_port(port_name_);
    link_.MaxBaud = 62500;
    link_.set_host(link_host);
    upload.set_host(upload_host);
    upload_host.on_progress = [this](int position) {
      if (on_progress) on_progress(position);
    };
    upload_host.on_decoded = [this] { events << "redraw"; };
    upload_host.on_succeeded = [this] {
      events << QStringLiteral("overview after %1 boxes").arg(dialogs.messages().size());
    };
  }
  ~SimUpload() {
    try {
      port_.close();
    } catch (...) {
    }
  }

  bool started() const { return sim_.started; }
  QString log_path() const { return sim_.log_path(); }
  QString sim_log() const { return sim_.log(); }
  std::optional<UploadOutcome> run() { return QCoro::waitFor(upload.start_or_stop()); }

  LoggingLinkHost link_host;
  LoggingUploadHost upload_host;
  QTemporaryDir served_;
  RecorderSim sim_;
  QString port_name_ = QStringLiteral("COM1");
  TComPortN port_;
  QTimer timer1_;
  Link link_{port_, timer1_, port_name_};
  BaudList baud;
  TEKG ekg;
  DecoderState decoder;
  Upload upload{link_, baud, ekg, decoder};
  ScriptedDialogs dialogs;

  QStringList& lock_events = link_host.events;
  QStringList& reported = link_host.reports;
  QStringList events;
  QList<int>& progress = upload_host.positions;
  std::function<void(int)> on_progress;
};

// The recorder heard "t" (it notes leaving its read mode only then).
bool recorder_got_t(const QString& log) {
  return log.contains(QStringLiteral("block-read mode ended, rate 4800 baud"));
}

TEST(Upload, CompleteTransferAt62500BecomesTheRecordingAndDecodesLikeTheFile) {
  SimUpload sim({});
  ASSERT_TRUE(sim.started());
  fill_held_recording(sim.ekg, sim.decoder);
  // The decoder carries its detector state from one decode to the next; start both decodes
  // of the served image from the same state.
  DecoderState opened_state = sim.decoder;
  TEKG opened;
  copy_generated_image(served_recording(), opened);

  ASSERT_EQ(sim.run(), UploadOutcome::Complete);

  const auto served = served_recording();
  EXPECT_EQ(sim.upload.blocks_received(), 4096);
  EXPECT_TRUE(std::equal(served.image.begin(), served.image.end(), sim.ekg.Image.begin() + 1))
      << "the uploaded image must equal the served one byte for byte";
  EXPECT_EQ(sim.ekg.FileName, "/home/clinic/data/smith.pul") << "an upload does not rename the recording";
  EXPECT_EQ(sim.decoder.FixedInterval, 7) << "an upload leaves the fixed interval of the last opened file";

  // The same image opened as a file decodes to the same beats.
  DecodeRecording(opened, opened_state);
  ASSERT_EQ(opened.BeatCount, sim.ekg.BeatCount);
  EXPECT_GT(opened.BeatCount, 100);
  for (int beat = 1; beat <= opened.BeatCount; ++beat) {
    ASSERT_EQ(opened.BeatRate[beat], sim.ekg.BeatRate[beat]) << "beat " << beat;
    ASSERT_EQ(opened.BeatFlags[beat], sim.ekg.BeatFlags[beat]) << "beat " << beat;
  }

  ASSERT_EQ(sim.dialogs.messages().size(), 1);
  const DialogCall box = sim.dialogs.messages().front();
  EXPECT_EQ(box.icon, DlgIcon::Exclamation);
  EXPECT_EQ(box.caption, QStringLiteral("Transmission completed"));
  EXPECT_EQ(box.text, kEnglishOk);
  EXPECT_EQ(sim.events, (QStringList{"redraw", "overview after 1 boxes"}));

  // The progress bar: 0 at the start, every 20th block, 0 again at the end.
  QList<int> expected_progress{0};
  for (int block = 0; block < 4096; block += 20) expected_progress << block;
  expected_progress << 0;
  EXPECT_EQ(sim.progress, expected_progress);
  EXPECT_EQ(sim.lock_events, (QStringList{"open", "close"}));
  EXPECT_EQ(sim.upload.UploadRunning, 0);
  EXPECT_FALSE(sim.link_.PacingActive);
  EXPECT_TRUE(recorder_got_t(sim.sim_log()));
  EXPECT_EQ(sim.link_.com_stat(), (QStringList{"COM1 4800 baud", "COM1 62500 baud", "COM1 4800 baud"}));
  EXPECT_EQ(sim.port_.custom_baud_rate(), 4800);

  // The recorder sent all 4096 blocks and heard "y" five times (before blocks 0, 1000, ...
  // 4000 of the program's count; the pacing runs ahead of that count).
  const QString log = sim.sim_log();
  EXPECT_EQ(log.count(QStringLiteral("section mark at block")), 5);
  EXPECT_TRUE(log.contains(QStringLiteral("tx block 4095\n")));
}

TEST(Upload, TheLastBlockMissingFailsWithTheDisconnectedMessageAndKeepsTheRecording) {
  SimUpload sim({"--drop-block", "4095"});
  ASSERT_TRUE(sim.started());
  fill_held_recording(sim.ekg, sim.decoder);
  const TEKG before = sim.ekg;

  ASSERT_EQ(sim.run(), UploadOutcome::LinkLost);

  EXPECT_EQ(sim.upload.blocks_received(), 4095);
  EXPECT_EQ(sim.ekg.Image, before.Image);
  EXPECT_EQ(sim.ekg.BeatRate, before.BeatRate);
  EXPECT_EQ(sim.ekg.FileName, before.FileName);
  EXPECT_EQ(sim.decoder.FixedInterval, 7);
  ASSERT_EQ(sim.dialogs.messages().size(), 1);
  EXPECT_EQ(sim.dialogs.messages().front().caption, QStringLiteral("Connection error"));
  EXPECT_EQ(sim.dialogs.messages().front().text, kEnglishLinkLost);
  EXPECT_TRUE(sim.events.isEmpty()) << "nothing is redrawn for a failed upload";
  EXPECT_TRUE(recorder_got_t(sim.sim_log()));
}

// Failures in the middle of a transfer, each cut short after a few hundred blocks.
TEST(Upload, FailuresDuringTheTransferShowOneMessageInOrderOfPrecedence) {
  struct Case {
    const char* what;
    QStringList sim_args;
    int act_at_block;      // progress position at which the test acts
    int blocks;            // blocks received in the end
    bool click_stop;       // Button3 clicked at that block
    bool line_error;       // the port reports a line error at that block
    UploadOutcome outcome;
    DlgIcon icon;
    QString caption;
    QString text;
  };
  const Case cases[] = {
      {"stop clicked", {}, 200, 201, true, false, UploadOutcome::Stopped, DlgIcon::Exclamation, "Transmission aborted",
       kEnglishAborted},
      {"line error and stop in the same block", {}, 100, 101, true, true, UploadOutcome::CommError, DlgIcon::Warning,
       kApplicationTitle, "error communication"},
      {"stop while the block is missing", {"--drop-block", "200"}, 200, 200, true, false, UploadOutcome::Stopped,
       DlgIcon::Exclamation, "Transmission aborted", kEnglishAborted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimUpload sim(c.sim_args);
    ASSERT_TRUE(sim.started());
    fill_held_recording(sim.ekg, sim.decoder);
    const TEKG before = sim.ekg;
    sim.on_progress = [&](int position) {
      if (position != c.act_at_block || sim.upload.UploadRunning == 0) return;
      if (c.line_error) sim.link_.pul_comError(1);
      if (c.click_stop) {
        EXPECT_EQ(QCoro::waitFor(sim.upload.start_or_stop()), std::nullopt);
      }
    };

    EXPECT_EQ(sim.run(), c.outcome);

    ASSERT_EQ(sim.dialogs.messages().size(), 1);
    const DialogCall box = sim.dialogs.messages().front();
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(sim.upload.blocks_received(), c.blocks) << "ends after the current block";
    EXPECT_EQ(sim.ekg.Image, before.Image);
    EXPECT_EQ(sim.decoder.FixedInterval, 7);
    EXPECT_TRUE(recorder_got_t(sim.sim_log())) << "the recorder still gets t";
    EXPECT_EQ(sim.port_.custom_baud_rate(), 4800);
    EXPECT_EQ(sim.lock_events, (QStringList{"open", "close"}));
    EXPECT_EQ(sim.upload.UploadRunning, 0);
  }
}

TEST(Upload, HangupOfTheLineIsACommunicationError) {
  SimUpload sim({"--hangup-after", "150"});
  ASSERT_TRUE(sim.started());
  fill_held_recording(sim.ekg, sim.decoder);
  const TEKG before = sim.ekg;

  EXPECT_EQ(sim.run(), UploadOutcome::CommError);

  ASSERT_GE(sim.dialogs.messages().size(), 1);
  EXPECT_EQ(sim.dialogs.messages().back().text, QStringLiteral("error communication"));
  EXPECT_LE(sim.upload.blocks_received(), 150);
  EXPECT_EQ(sim.ekg.Image, before.Image);
  EXPECT_EQ(sim.lock_events, (QStringList{"open", "close"}));
  EXPECT_FALSE(sim.link_.PacingActive);
}

TEST(Upload, SilentRecorderGivesTheConnectionErrorAfterThreeAttemptsAndNothingElseIsSent) {
  SimUpload sim({"--silent"});
  ASSERT_TRUE(sim.started());

  EXPECT_EQ(sim.run(), UploadOutcome::NoDevice);

  ASSERT_EQ(sim.dialogs.messages().size(), 1);
  EXPECT_EQ(sim.dialogs.messages().front().icon, DlgIcon::Exclamation);
  EXPECT_EQ(sim.dialogs.messages().front().caption, QStringLiteral("Connection error"));
  EXPECT_EQ(sim.dialogs.messages().front().text, kEnglishNoDevice);
  const QString log = sim.sim_log();
  EXPECT_EQ(log.count(QStringLiteral("rx 4800 baud: V\n")), 3);
  EXPECT_EQ(log.count(QStringLiteral("rx 4800 baud: g 0D\n")), 3);
  EXPECT_FALSE(log.contains(QStringLiteral(": r 00"))) << "no read mode without an identified recorder";
  EXPECT_EQ(sim.lock_events, (QStringList{"open", "close"}));
  EXPECT_EQ(sim.progress, (QList<int>{0, 0}));
}

TEST(Upload, PortThatIsNotOpenEndsInTheErrorReportWithTheWindowUnlocked) {
  SimUpload sim({});
  sim.port_name_ = QStringLiteral("xxxx");
  sim.port_.set_port(sim.port_name_);

  EXPECT_EQ(sim.run(), UploadOutcome::PortFailed);

  EXPECT_EQ(sim.link_.com_stat(),
            (QStringList{"error interface", "COM not available", "Check the cable and switch the Kordamat on."}));
  ASSERT_EQ(sim.reported.size(), 1);
  EXPECT_TRUE(sim.reported.front().startsWith(QStringLiteral("WriteFile function failed"))) << sim.reported.front().toStdString();
  EXPECT_TRUE(sim.dialogs.messages().isEmpty());
  EXPECT_EQ(sim.lock_events, (QStringList{"open", "close"}));
  EXPECT_EQ(sim.upload.UploadRunning, 0);
}

TEST(Upload, ClosingTheWindowStopsQuietlyAndClosesOnceTheRecorderIsBackAt4800) {
  SimUpload sim({});
  ASSERT_TRUE(sim.started());
  int close_again = 0;
  bool idle_when_closed_again = false;
  sim.on_progress = [&](int position) {
    if (position != 60) return;
    EXPECT_FALSE(sim.upload.window_closing([&] {
      ++close_again;
      idle_when_closed_again = sim.upload.UploadRunning == 0 && sim.port_.custom_baud_rate() == 4800;
    }));
  };

  EXPECT_EQ(sim.run(), UploadOutcome::Stopped);

  EXPECT_EQ(close_again, 1);
  EXPECT_TRUE(idle_when_closed_again);
  EXPECT_TRUE(sim.dialogs.messages().isEmpty()) << "no message about a transfer the user walked away from";
  EXPECT_TRUE(recorder_got_t(sim.sim_log()));
  EXPECT_TRUE(sim.upload.window_closing([] { ADD_FAILURE() << "an idle upload closes at once"; }));
}

TEST(Upload, AbandonedWhileDestroyedStopsPacingAndTellsTheRecorder) {
  auto sim = std::make_unique<SimUpload>(QStringList{});
  ASSERT_TRUE(sim->started());
  const QString log_path = sim->log_path();
  sim->on_progress = [&](int position) {
    if (position == 80) sim->upload.abandon();
  };
  {
    auto task = sim->upload.start_or_stop();
    QElapsedTimer clock;
    clock.start();
    while (sim->upload.UploadRunning != 0 && clock.elapsed() < 10000) QTest::qWait(5);
    EXPECT_EQ(sim->upload.UploadRunning, 0);
    EXPECT_FALSE(sim->link_.PacingActive);
    EXPECT_FALSE(sim->link_.PrecTimer1.Enabled());
    QTest::qWait(100);
  }
  const QString log = sim->sim_log();
  EXPECT_TRUE(log.contains(QStringLiteral("block-read mode ended"))) << "t was sent";
  EXPECT_TRUE(sim->dialogs.messages().isEmpty());
  EXPECT_EQ(sim->lock_events, QStringList{"open"}) << "a window being destroyed is not touched";
  EXPECT_LE(sim->upload.blocks_received(), 81);
  sim.reset();
}

}  // namespace
}  // namespace pulvitra

namespace pulvitra {
namespace {

// The "s" requests the recorder heard at a rate: their count and the seconds between the
// first and the last, from the simulator's log.
struct Requests {
  int count = 0;
  double span_s = 0;
};

Requests requests_at(const QString& log, int rate) {
  Requests seen;
  double first = -1;
  const QString marker = QStringLiteral(" rx %1 baud:").arg(rate);
  for (const QString& line : log.split('\n')) {
    if (!line.contains(marker)) continue;
    const int count = line.section(':', 1).split(' ', Qt::SkipEmptyParts).count(QStringLiteral("s"));
    if (count == 0) continue;
    const double at = line.section(' ', 0, 0, QString::SectionSkipEmpty).toDouble();
    if (first < 0) first = at;
    seen.span_s = at - first;
    seen.count += count;
  }
  return seen;
}

TEST(Upload, EveryRateIsAskedForWithItsCodeAndPacedAtItsInterval) {
  struct Case {
    std::int32_t rate;
    const char* code;  // as the simulator logs the byte after "B"
    double interval_ms;
  };
  // Short transfers, stopped after block 200: the rate, its code and its pacing are what
  // matters here (the complete transfer has a test of its own).
  const Case cases[] = {{12800, "FB", 8}, {15625, "FC", 6}, {20833, "FD", 5}, {31250, "FE", 4}, {62500, "FF", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    SimUpload sim({});
    ASSERT_TRUE(sim.started());
    sim.link_.MaxBaud = c.rate;
    sim.on_progress = [&](int position) {
      if (position == 200) QCoro::waitFor(sim.upload.start_or_stop());
    };
    EXPECT_EQ(sim.run(), UploadOutcome::Stopped);
    EXPECT_EQ(sim.upload.blocks_received(), 201);
    const QString log = sim.sim_log();
    EXPECT_TRUE(log.contains(QStringLiteral("rx 4800 baud: B %1\n").arg(c.code))) << log.left(2000).toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("rate changed to %1 baud").arg(c.rate)));
    const Requests requests = requests_at(log, c.rate);
    ASSERT_GT(requests.count, 200);
    const double mean_ms = requests.span_s * 1000 / (requests.count - 1);
    // Never faster than the recorder's line allows; not the pace of another rate either.
    EXPECT_GE(mean_ms, 0.9 * c.interval_ms);
    EXPECT_LE(mean_ms, 1.25 * c.interval_ms);
    EXPECT_EQ(sim.link_.com_stat(),
              (QStringList{"COM1 4800 baud", QStringLiteral("COM1 %1 baud").arg(c.rate), "COM1 4800 baud"}));
  }
}

TEST(Upload, AGarbledBlockOrABreakOnTheLineIsACommunicationErrorAndKeepsTheRecording) {
  const QStringList cases[] = {{"--garble-block", "300"}, {"--break-at", "200"}};
  for (const QStringList& args : cases) {
    SCOPED_TRACE(args.join(' ').toStdString());
    SimUpload sim(args);
    ASSERT_TRUE(sim.started());
    fill_held_recording(sim.ekg, sim.decoder);
    const TEKG before = sim.ekg;

    EXPECT_EQ(sim.run(), UploadOutcome::CommError);

    ASSERT_EQ(sim.dialogs.messages().size(), 1);
    EXPECT_EQ(sim.dialogs.messages().front().icon, DlgIcon::Warning);
    EXPECT_EQ(sim.dialogs.messages().front().text, QStringLiteral("error communication"));
    EXPECT_LE(sim.upload.blocks_received(), args[1].toInt() + 1);
    EXPECT_EQ(sim.ekg.Image, before.Image);
    EXPECT_EQ(sim.ekg.FileName, before.FileName);
    EXPECT_TRUE(recorder_got_t(sim.sim_log()));
    EXPECT_EQ(sim.port_.custom_baud_rate(), 4800);
  }
}

}  // namespace
}  // namespace pulvitra
