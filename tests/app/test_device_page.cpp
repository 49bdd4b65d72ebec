// The device page of the main window: the port and rates it finds at start, the lock when no
// port exists, and the control lock around a dialogue.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "shell/language.h"
#include "shell/scripted_dialogs.h"
#include "app/device_page.h"
#include "app/tmain.h"
#include "device/recorder_process.h"

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

const char* const kLockedByTransfer[] = {"Button1", "Button6", "Button7", "Button8", "Button9",
                                         "Button2", "CB_Comport", "CB_MaxBaud", "Test_button", "Max_Baud_button"};

QStringList items(QComboBox* combo) {
  QStringList texts;
  for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
  return texts;
}

struct Window {
  explicit Window(std::uint8_t com_port = 1, std::int32_t max_baud = 15625, std::uint8_t language = kGerman) {
    cur_lang = language;
    settings.ComPort = com_port;
    settings.MaxBaud = max_baud;
    main = std::make_unique<TMain>(settings);
  }
  ~Window() { cur_lang = kGerman; }
  QWidget* control(const char* name) const { return main->findChild<QWidget*>(QLatin1String(name)); }
  QComboBox* combo(const char* name) const { return main->control<QComboBox>(name); }
  QString com_stat() const { return main->control<QPlainTextEdit>("ComStat")->toPlainText(); }
  QString button3() const { return main->control<QPushButton>("Button3")->text(); }

  ScriptedDialogs dialogs;
  Settings settings;
  std::unique_ptr<TMain> main;
};

TEST(DevicePageStart, finds_the_simulated_recorder_and_lists_its_rates) {
  RecorderSim sim({});
  ASSERT_TRUE(sim.started);
  Window w;
  EXPECT_EQ(w.main->port_name, "COM1");
  EXPECT_EQ(items(w.combo("CB_Comport")), QStringList{"COM1"});
  EXPECT_EQ(w.combo("CB_Comport")->currentText(), "COM1");
  EXPECT_EQ(items(w.combo("CB_MaxBaud")), (QStringList{"12800", "15625", "20833", "31250", "62500"}));
  EXPECT_EQ(w.combo("CB_MaxBaud")->currentText(), "15625");
  EXPECT_EQ(w.com_stat(), "");
  EXPECT_TRUE(w.main->device->pul_com().connected());  // left open at the base rate
  EXPECT_EQ(w.main->device->pul_com().custom_baud_rate(), 4800);
  EXPECT_TRUE(w.control("Test_button")->isEnabled());
  EXPECT_TRUE(w.control("Button3")->isEnabled());
}

TEST(DevicePageStart, without_any_port_the_window_stays_locked) {
  struct Case {
    std::uint8_t language;
    QString line;
  };
  const Case cases[] = {{kGerman, u("COM nicht verfügbar")}, {kEnglish, "COM not available"}};
  for (const Case& c : cases) {
    ProgramFolderWithPorts folder;
    folder.write_ini({"COM1=/dev/no-such-adapter"});
    Window w(1, 31250, c.language);
    EXPECT_EQ(w.main->port_name, "xxxx");
    EXPECT_EQ(w.combo("CB_Comport")->count(), 0);
    EXPECT_EQ(w.combo("CB_Comport")->currentText(), "xxxx");
    EXPECT_EQ(w.combo("CB_MaxBaud")->count(), 0);
    EXPECT_EQ(w.combo("CB_MaxBaud")->currentText(), "31250");
    for (const char* name : kLockedByTransfer) EXPECT_FALSE(w.control(name)->isEnabled()) << name;
    EXPECT_FALSE(w.control("Button3")->isEnabled());
    EXPECT_FALSE(w.control("Button4")->isEnabled());
    EXPECT_EQ(w.com_stat(), c.line);
    // The end of a transfer (started from the wizard) is what unlocks the window.
    w.main->device->ComPortClose();
    EXPECT_TRUE(w.control("Button3")->isEnabled());
    EXPECT_TRUE(w.control("Test_button")->isEnabled());
  }
}

TEST(DevicePageLock, locks_for_a_dialogue_and_unlocks_after_it) {
  PseudoTerminal line;
  ProgramFolderWithPorts folder;
  folder.write_ini({"COM1=" + line.slave_path});
  Window w;
  w.main->device->ComPortOpen();
  for (const char* name : kLockedByTransfer) EXPECT_FALSE(w.control(name)->isEnabled()) << name;
  EXPECT_FALSE(w.control("Button4")->isEnabled());
  EXPECT_TRUE(w.control("Button3")->isEnabled());  // it is the stop button now
  EXPECT_EQ(w.button3(), u("Datenübernahme stoppen"));

  w.main->device->ComPortClose();
  for (const char* name : kLockedByTransfer) {
    if (QLatin1String(name) == "Button7") continue;
    EXPECT_TRUE(w.control(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(w.control("Button7")->isEnabled());  // nothing saved yet: "default.pul"
  EXPECT_TRUE(w.control("Button4")->isEnabled());
  EXPECT_EQ(w.button3(), u("Datenübernahme starten"));
  EXPECT_EQ(w.main->control<QLabel>("Panel6")->text(), "Deaktiv");
  EXPECT_EQ(w.main->control<QLabel>("Panel6")->font().pointSize(), 8);
}

}  // namespace
