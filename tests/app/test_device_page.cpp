// The device page of the main window: the port and rates it finds at start, the lock when no
// port exists, and the control lock around a dialogue.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <optional>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "shell/language.h"
#include "tests/support/main_window_harness.h"
#include "app/device_page.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/upload_controller.h"
#include "tests/support/recorder_process.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

const char* const kLockedByTransfer[] = {"Button1", "Button6", "Button7", "Button8", "Button9",
                                         "Button2", "CB_Comport", "CB_MaxBaud", "Test_button", "Max_Baud_button"};

const char* const kNeedAPort[] = {"CB_Comport", "CB_MaxBaud", "Test_button", "Max_Baud_button", "Button3", "Button4"};
const char* const kFileControls[] = {"Button1", "Button6", "Button8", "Button9", "Button2"};

QStringList items(QComboBox* combo) {
  QStringList texts;
  for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
  return texts;
}

// The main window in the current program folder, with the port and rate it was left at.
struct Window : MainWindow {
  explicit Window(std::uint8_t com_port = 1, std::int32_t max_baud = 15625, std::uint8_t language = kGerman) {
    settings = read_settings(settings_path());  // the program reads the file, [Ports] with it
    settings.ComPort = com_port;
    settings.MaxBaud = max_baud;
    start(language);
  }
  QComboBox* combo(const char* name) const { return control<QComboBox>(name); }
  QString com_stat() const { return control<QPlainTextEdit>("ComStat")->toPlainText(); }
  QString button3() const { return control<QPushButton>("Button3")->text(); }
};

TEST(DevicePageStart, finds_the_simulated_recorder_and_lists_its_rates) {
  RecorderSim sim({});
  ASSERT_TRUE(sim.started);
  Window w;
  EXPECT_EQ(w.window->port_name, "COM1");
  EXPECT_EQ(items(w.combo("CB_Comport")), QStringList{"COM1"});
  EXPECT_EQ(w.combo("CB_Comport")->currentText(), "COM1");
  EXPECT_EQ(items(w.combo("CB_MaxBaud")), (QStringList{"12800", "15625", "20833", "31250", "62500"}));
  EXPECT_EQ(w.combo("CB_MaxBaud")->currentText(), "15625");
  EXPECT_EQ(w.com_stat(), "");
  EXPECT_TRUE(w.window->device->pul_com().connected());  // left open at the base rate
  EXPECT_EQ(w.window->device->pul_com().custom_baud_rate(), 4800);
  EXPECT_TRUE(w.control("Test_button")->isEnabled());
  EXPECT_TRUE(w.control("Button3")->isEnabled());
}

TEST(DevicePageStart, without_any_port_only_what_needs_a_port_is_locked) {
  struct Case {
    std::uint8_t language;
    QString line;
  };
  const Case cases[] = {{kGerman, u("COM nicht verfügbar")}, {kEnglish, "COM not available"}};
  for (const Case& c : cases) {
    ProgramFolderWithPorts folder;
    folder.write_ini({"COM1=/dev/no-such-adapter"});
    Window w(1, 31250, c.language);
    EXPECT_EQ(w.window->port_name, "xxxx");
    EXPECT_EQ(w.combo("CB_Comport")->count(), 0);
    EXPECT_EQ(w.combo("CB_Comport")->currentText(), "xxxx");
    EXPECT_EQ(w.combo("CB_MaxBaud")->count(), 0);
    EXPECT_EQ(w.combo("CB_MaxBaud")->currentText(), "31250");
    // Only what needs a port is locked: a machine without one still evaluates recordings.
    for (const char* name : kNeedAPort) EXPECT_FALSE(w.control(name)->isEnabled()) << name;
    for (const char* name : kFileControls) EXPECT_TRUE(w.control(name)->isEnabled()) << name;
    EXPECT_FALSE(w.control("Button7")->isEnabled()) << "nothing to save over yet";
    EXPECT_FALSE(w.control("Button3")->isEnabled());
    EXPECT_FALSE(w.control("Button4")->isEnabled());
    EXPECT_EQ(w.com_stat(), c.line);
    // The end of a transfer (started from the wizard) is what unlocks the window.
    w.window->ComPortClose();
    EXPECT_TRUE(w.control("Button3")->isEnabled());
    EXPECT_TRUE(w.control("Test_button")->isEnabled());
  }
}

TEST(DevicePageLock, locks_for_a_dialogue_and_unlocks_after_it) {
  PseudoTerminal line;
  ProgramFolderWithPorts folder;
  folder.write_ini({"COM1=" + line.slave_path});
  Window w;
  w.window->ComPortOpen();
  for (const char* name : kLockedByTransfer) EXPECT_FALSE(w.control(name)->isEnabled()) << name;
  EXPECT_FALSE(w.control("Button4")->isEnabled());
  EXPECT_TRUE(w.control("Button3")->isEnabled());  // it is the stop button now
  EXPECT_EQ(w.button3(), u("Datenübernahme stoppen"));

  w.window->ComPortClose();
  for (const char* name : kLockedByTransfer) {
    if (QLatin1String(name) == "Button7") continue;
    EXPECT_TRUE(w.control(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(w.control("Button7")->isEnabled());  // nothing saved yet: "default.pul"
  EXPECT_TRUE(w.control("Button4")->isEnabled());
  EXPECT_EQ(w.button3(), u("Datenübernahme starten"));
  EXPECT_EQ(w.window->control<QLabel>("Panel6")->text(), "Deaktiv");
  EXPECT_EQ(w.window->control<QLabel>("Panel6")->font().pointSize(), 8);
}

TEST(DevicePageStart, the_window_takes_the_port_mapping_read_with_the_settings) {
  PseudoTerminal line;
  ProgramFolderWithPorts folder;  // no settings file at all: the window must not need one
  ScriptedDialogs dialogs;
  Settings settings;
  settings.Ports = {{"COM2", line.slave_path}};
  settings.ComPort = 2;
  TMain main(settings);
  EXPECT_EQ(main.port_name, "COM2");
  EXPECT_EQ(main.device->pul_com().device(), line.slave_path);
  EXPECT_FALSE(QFileInfo::exists(folder.home.filePath("Pulvitra.ini")));
}

}  // namespace

namespace {

TEST(DevicePageStart, a_window_without_a_port_opens_shows_and_saves_a_recording) {
  ProgramFolderWithPorts folder;
  folder.write_ini({"COM1=/dev/no-such-adapter"});
  Window w;
  const QString file = folder.home.filePath("saved.pul");
  w.dialogs.file_names = {file};
  w.window->patient->Button8Click();  // Save as
  ASSERT_TRUE(QFileInfo::exists(file));
  EXPECT_EQ(QFileInfo(file).size(), 33280);
  w.dialogs.file_names = {file};
  w.window->patient->Button6Click();  // Open
  EXPECT_EQ(w.window->ekg.FileName, file.toStdString());
  EXPECT_TRUE(w.control("Button7")->isEnabled()) << "a file of its own can be saved again";
  EXPECT_TRUE(w.dialogs.messages().isEmpty());
}

// Runs Button3 in a window on the simulated recorder and lets act() run once the transfer
// is under way (at progress position 100).
struct UploadInWindow {
  explicit UploadInWindow(const QStringList& sim_args = {}) : sim(sim_args) {}
  UploadController& controller() { return *w->window->findChild<UploadController*>(); }
  void start(std::function<void()> act) {
    QProgressBar* bar = w->window->control<QProgressBar>("ProgressBar1");
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [act, done = std::make_shared<bool>(false)](int value) {
      if (value < 100 || *done) return;
      *done = true;
      QTimer::singleShot(0, act);
    });
    task.emplace(controller().Button3Click());
  }
  // Runs the event loop itself: QTest::qWaitFor sleeps between its looks, which would hold
  // up the 2 ms pacing.
  void wait_until_done() { QCoro::waitFor(*task); }

  RecorderSim sim;
  std::unique_ptr<Window> w = std::make_unique<Window>(1, 62500);
  std::optional<QCoro::Task<>> task;
};

TEST(MainWindowClose, no_to_close_during_an_upload_lets_it_complete) {
  UploadInWindow up;
  ASSERT_TRUE(up.sim.started);
  bool closed = false;
  up.w->window->on_closed = [&] { closed = true; };
  up.w->dialogs.answers = {DlgAnswer::No};
  up.start([&] { up.w->window->close(); });
  up.wait_until_done();
  ASSERT_TRUE(up.task->isReady());
  EXPECT_FALSE(closed);
  const auto messages = up.w->dialogs.messages();
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[0].buttons, DlgButtons::YesNo) << "Close ? is asked first";
  EXPECT_EQ(messages[1].text, table_text("txt_upload_ok")) << "and the transfer completed";
  EXPECT_EQ(up.controller().upload().blocks_received(), 4096);
}

TEST(MainWindowClose, yes_to_close_during_an_upload_ends_it_with_t_at_4800_baud_and_closes) {
  UploadInWindow up;
  ASSERT_TRUE(up.sim.started);
  bool closed = false;
  std::int32_t rate_when_closed = 0;
  up.w->window->on_closed = [&] {
    closed = true;
    rate_when_closed = up.w->window->device->pul_com().custom_baud_rate();
  };
  up.w->dialogs.answers = {DlgAnswer::Yes};
  up.start([&] { up.w->window->close(); });
  up.wait_until_done();
  ASSERT_TRUE(up.task->isReady());
  EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 2000));
  EXPECT_EQ(rate_when_closed, 4800);
  ASSERT_EQ(up.w->dialogs.messages().size(), 1) << "only the question, no message about the transfer";
  EXPECT_LT(up.controller().upload().blocks_received(), 4096);
  QTest::qWait(50);
  EXPECT_TRUE(up.sim.log().contains("block-read mode ended, rate 4800 baud"));
}

TEST(DevicePagePorts, a_port_plugged_in_after_start_is_listed_and_uploads) {
  ProgramFolderWithPorts folder;
  const QString link = folder.home.filePath("ttyKordamat");
  folder.write_ini({"COM1=" + link}, "[Pulvitra 2.4 Settings]\nMax_Baudrate=62500\n");
  Window w(1, 62500);
  ASSERT_EQ(w.window->port_name, "xxxx");
  EXPECT_FALSE(w.control("Button3")->isEnabled());

  QProcess sim;
  sim.start(QStringLiteral(PULVITRA_BIN_DIR "/recorder-sim"), {"--link", link});
  ASSERT_TRUE(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.window->port_name == "COM1"; }, 5000)) << "seen without a restart";
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.control("Button3")->isEnabled(); }, 5000));
  EXPECT_EQ(items(w.combo("CB_Comport")), QStringList{"COM1"});
  EXPECT_EQ(items(w.combo("CB_MaxBaud")), (QStringList{"12800", "15625", "20833", "31250", "62500"}));
  EXPECT_TRUE(w.control("Test_button")->isEnabled());

  UploadController* controller = w.window->findChild<UploadController*>();
  QCoro::waitFor(controller->Button3Click());
  EXPECT_EQ(controller->upload().blocks_received(), 4096);
  ASSERT_EQ(w.dialogs.messages().size(), 1);
  EXPECT_EQ(w.dialogs.messages()[0].text, table_text("txt_upload_ok"));
  sim.terminate();
  sim.waitForFinished(5000);
}

}  // namespace
