// The communication tests in the cases a real line hardly produces — a rate the port refuses
// half-way, an empty rate list, a port error — and the window lock around them.
#include <QCoroTask>
#include <QTimer>
#include <gtest/gtest.h>

#include "shell/language.h"
#include "shell/scripted_dialogs.h"
#include "device/comm_tests.h"
#include "fake_recorder.h"

namespace pulvitra {
namespace {

struct TestsOnFake {
  TestsOnFake() {
    cur_lang = kEnglish;
    recorder.set_port(port_name);
    rates.items = QStringList{"12800", "15625", "20833", "31250", "62500"};
    link.MaxBaud = 15625;
    link.ComPortOpen = [this] { locked = true; };
    link.ComPortClose = [this] { locked = false; };
    link.report_error = [this](const QString& text) { reports << text; };
  }
  void run_max_baud_test() { QCoro::waitFor(tests.Max_Baud_buttonClick()); }

  ScriptedDialogs dialogs;
  FakeRecorder recorder;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{recorder, timer1, port_name};
  BaudList rates;
  CommTests tests{link, rates};
  bool locked = false;
  QStringList reports;
};

TEST(MaxBaudTest, a_rate_the_port_refuses_ends_the_test_silently_with_max_baud_unchanged) {
  TestsOnFake f;
  f.recorder.refused_rates = {31250};  // listed, but refused when the test comes to it
  f.run_max_baud_test();
  EXPECT_EQ(f.link.com_stat().mid(f.link.com_stat().size() - 4),
            (QStringList{"Test", "COM1 31250 baud", "crit.error Baudrate", "COM1 4800 baud"}));
  EXPECT_EQ(f.link.MaxBaud, 15625);
  EXPECT_EQ(f.rates.shown, "20833");  // the last rate that was set on the port
  EXPECT_FALSE(f.recorder.received.contains('t'));
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  EXPECT_FALSE(f.locked);
}

TEST(MaxBaudTest, an_empty_rate_list_ends_without_a_selection) {
  TestsOnFake f;
  f.rates.items.clear();
  f.run_max_baud_test();
  EXPECT_EQ(f.link.com_stat(), (QStringList{"Test max. Baudrate", "COM1 4800 baud"}));
  EXPECT_EQ(f.link.MaxBaud, 15625);
  EXPECT_EQ(f.rates.selected, -1);
  EXPECT_FALSE(f.recorder.received.contains('B'));
  EXPECT_FALSE(f.locked);
}

TEST(CommTests, a_port_that_is_not_open_ends_either_test_with_the_error_report_and_an_idle_window) {
  for (bool max_baud : {false, true}) {
    TestsOnFake f;
    f.port_name = QStringLiteral("xxxx");
    f.recorder.set_port(f.port_name);
    QCoro::waitFor(max_baud ? f.tests.Max_Baud_buttonClick() : f.tests.Test_buttonClick());
    EXPECT_EQ(f.reports, QStringList{"WriteFile function failed (win error code: 9)"});
    EXPECT_EQ(f.link.com_stat().last(), "error interface");
    EXPECT_TRUE(f.dialogs.messages().isEmpty());  // no test dialog
    EXPECT_FALSE(f.locked);
  }
}

}  // namespace
}  // namespace pulvitra
