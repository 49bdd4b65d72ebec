// The device test and the maximum-baud test as the user sees them: the dialogs, the log lines,
// the chosen rate, and what the recorder was sent.
#include <QCoroTask>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/core/language.h"
#include "app/core/scripted_dialogs.h"
#include "device/comm_tests.h"
#include "fake_recorder.h"

namespace pulvitra {
namespace {

const QStringList kAllRates{"12800", "15625", "20833", "31250", "62500"};

// The two tests on a fake recorder, with the rate list the port choice found and a window
// lock that only counts.
struct TestsOnFake {
  TestsOnFake() {
    cur_lang = kEnglish;
    recorder.set_port(port_name);
    rates.items = kAllRates;
    link.ComPortOpen = [this] { ++locks; locked = true; };
    link.ComPortClose = [this] { locked = false; };
    link.report_error = [this](const QString& text) { reports << text; };
  }
  void run_device_test() { QCoro::waitFor(tests.Test_buttonClick()); }
  void run_max_baud_test() { QCoro::waitFor(tests.Max_Baud_buttonClick()); }
  QStringList log_after_handshake() const { return link.com_stat().mid(2); }

  ScriptedDialogs dialogs;
  FakeRecorder recorder;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{recorder, timer1, port_name};
  BaudList rates;
  CommTests tests{link, rates};
  int locks = 0;
  bool locked = false;
  QStringList reports;
};

TEST(DeviceTest, reports_the_answer_and_always_ends_with_c) {
  struct Case {
    QByteArray version_reply;
    DlgIcon icon;
    DlgButtons buttons;
    QString text;
  };
  const Case cases[] = {
      {QByteArray("\x03\xE7", 2), DlgIcon::Information, DlgButtons::Ok, "communication - Kordamat successful !"},
      {QByteArray("\x03\xE8", 2), DlgIcon::Error, DlgButtons::Cancel, "communication - Kordamat Error !"},
  };
  for (const Case& c : cases) {
    TestsOnFake f;
    f.recorder.version_reply = c.version_reply;
    f.run_device_test();
    ASSERT_EQ(f.dialogs.messages().size(), 1);
    EXPECT_EQ(f.dialogs.messages()[0].icon, c.icon);
    EXPECT_EQ(f.dialogs.messages()[0].buttons, c.buttons);
    EXPECT_EQ(f.dialogs.messages()[0].text, c.text);
    EXPECT_EQ(f.recorder.received.back(), 'c');
    EXPECT_EQ(f.recorder.custom_baud_rate(), 4800);  // the port stays open at the base rate
    EXPECT_TRUE(f.recorder.connected());
    EXPECT_EQ(f.locks, 1);
    EXPECT_FALSE(f.locked);
  }
}

TEST(DeviceTest, german_texts) {
  TestsOnFake f;
  cur_lang = kGerman;
  f.run_device_test();
  ASSERT_EQ(f.dialogs.messages().size(), 1);
  EXPECT_EQ(f.dialogs.messages()[0].text, "Kommunikation - Kordamat erfolgreich !");
}

TEST(DeviceTest, a_port_that_cannot_open_ends_with_the_error_report_and_an_idle_window) {
  TestsOnFake f;
  f.recorder.set_port(QStringLiteral("xxxx"));
  f.run_device_test();
  EXPECT_TRUE(f.dialogs.messages().isEmpty());  // no test dialog
  EXPECT_EQ(f.reports, QStringList{"WriteFile function failed (win error code: 9)"});
  EXPECT_EQ(f.link.com_stat(), QStringList{"error interface"});
  EXPECT_FALSE(f.locked);
}

TEST(MaxBaudTest, all_rates_working_selects_62500) {
  TestsOnFake f;
  f.link.MaxBaud = 12800;
  f.run_max_baud_test();
  EXPECT_EQ(f.link.com_stat(),
            (QStringList{"Test max. Baudrate", "COM1 4800 baud", "Test", "COM1 12800 baud", "Test", "COM1 15625 baud",
                         "Test", "COM1 20833 baud", "Test", "COM1 31250 baud", "Test", "COM1 62500 baud", "Success"}));
  EXPECT_EQ(f.link.MaxBaud, 62500);
  EXPECT_EQ(f.rates.selected, 4);
  EXPECT_EQ(f.rates.shown, "62500");
  EXPECT_EQ(f.recorder.received.back(), 't');
  EXPECT_EQ(f.recorder.received.count('s'), 50);  // ten blocks at each rate
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  EXPECT_FALSE(f.locked);
}

TEST(MaxBaudTest, selects_the_rate_before_the_first_failing_one) {
  struct Case {
    std::int32_t failing_rate;
    int selected;
    std::int32_t max_baud;
    int rates_tried;
  };
  const Case cases[] = {
      {12800, 0, 12800, 1},  // the first one failing still selects the first
      {15625, 0, 12800, 2},
      {20833, 1, 15625, 3},
      {62500, 3, 31250, 5},
  };
  for (const Case& c : cases) {
    TestsOnFake f;
    f.recorder.silent_rates = {c.failing_rate};
    f.run_max_baud_test();
    EXPECT_EQ(f.rates.selected, c.selected) << c.failing_rate;
    EXPECT_EQ(f.link.MaxBaud, c.max_baud) << c.failing_rate;
    EXPECT_EQ(f.link.com_stat().count("Test"), c.rates_tried) << c.failing_rate;
    EXPECT_EQ(f.link.com_stat().last(), "Error") << c.failing_rate;
    EXPECT_EQ(f.recorder.received.back(), 't') << c.failing_rate;
  }
}

TEST(MaxBaudTest, a_line_error_counts_as_a_failing_rate) {
  TestsOnFake f;
  f.recorder.line_error_rates = {31250};
  f.run_max_baud_test();
  EXPECT_EQ(f.link.MaxBaud, 20833);
  EXPECT_EQ(f.link.com_stat().last(), "Error");
}

TEST(MaxBaudTest, sends_the_rate_code_of_each_list_position_at_the_rate_before) {
  TestsOnFake f;
  f.run_max_baud_test();
  QList<std::pair<std::uint8_t, std::int32_t>> codes;  // code byte, rate it was sent at
  for (qsizetype i = 0; i + 1 < f.recorder.received.size(); ++i)
    if (f.recorder.received[i] == 'B')
      codes << std::pair{static_cast<std::uint8_t>(f.recorder.received[i + 1]), f.recorder.received_at[i]};
  EXPECT_EQ(codes, (QList<std::pair<std::uint8_t, std::int32_t>>{
                       {251, 4800}, {252, 12800}, {253, 15625}, {254, 20833}, {255, 31250}}));
}

TEST(MaxBaudTest, no_answer_at_4800_shows_the_error_and_still_tries_the_rates) {
  TestsOnFake f;
  f.recorder.version_reply.clear();
  f.recorder.alive_reply.clear();
  f.run_max_baud_test();
  ASSERT_EQ(f.dialogs.messages().size(), 1);
  EXPECT_EQ(f.dialogs.messages()[0].text, "communication - Kordamat Error !");
  EXPECT_EQ(f.link.com_stat().mid(0, 5),
            (QStringList{"Test max. Baudrate", "COM1 4800 baud", "communication", "Kordamat Error", "Test"}));
  EXPECT_EQ(f.link.MaxBaud, 62500);  // this recorder still serves blocks
}

TEST(MaxBaudTest, a_rate_the_port_refuses_ends_the_test_silently) {
  TestsOnFake f;
  f.link.MaxBaud = 15625;
  f.recorder.refused_rates = {31250};  // listed, but refused when the test comes to it
  f.run_max_baud_test();
  EXPECT_EQ(f.link.com_stat().mid(f.link.com_stat().size() - 4),
            (QStringList{"Test", "COM1 31250 baud", "crit.error Baudrate", "COM1 4800 baud"}));
  EXPECT_EQ(f.link.MaxBaud, 15625);
  EXPECT_EQ(f.rates.shown, "20833");  // the last rate that was set on the port
  EXPECT_EQ(f.recorder.custom_baud_rate(), 4800);
  EXPECT_FALSE(f.recorder.received.contains('t'));
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  EXPECT_FALSE(f.locked);
}

TEST(MaxBaudTest, an_empty_rate_list_ends_without_a_selection) {
  TestsOnFake f;
  f.rates.items.clear();
  f.rates.shown = QStringLiteral("12800");
  f.link.MaxBaud = 12800;
  f.run_max_baud_test();
  EXPECT_EQ(f.link.com_stat(), (QStringList{"Test max. Baudrate", "COM1 4800 baud"}));
  EXPECT_EQ(f.link.MaxBaud, 12800);
  EXPECT_EQ(f.rates.selected, -1);
  EXPECT_EQ(f.rates.shown, "12800");
  EXPECT_FALSE(f.recorder.received.contains('B'));
  EXPECT_EQ(f.locks, 1);
  EXPECT_FALSE(f.locked);
}

TEST(MaxBaudTest, a_port_error_ends_the_test_and_unlocks_the_window) {
  TestsOnFake f;
  f.port_name = QStringLiteral("COM9");
  f.recorder.set_port(f.port_name);
  f.run_max_baud_test();
  EXPECT_EQ(f.reports, QStringList{"WriteFile function failed (win error code: 9)"});
  EXPECT_EQ(f.link.com_stat(), (QStringList{"Test max. Baudrate", "error interface"}));
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  EXPECT_FALSE(f.locked);
}

}  // namespace
}  // namespace pulvitra
