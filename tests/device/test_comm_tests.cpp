// The communication tests in the cases a real line hardly produces — a rate the port refuses
// half-way, an empty rate list, a port error — and the window lock around them.
#include <QCoroTask>
#include <QTimer>
#include <gtest/gtest.h>

#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"
#include "device/comm_tests.h"
#include "device/upload.h"
#include "tests/support/fake_recorder.h"
#include "tests/support/logging_hosts.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

struct TestsOnFake {
  TestsOnFake() {
    cur_lang = kEnglish;
    recorder.set_port(port_name);
    rates.items = QStringList{"12800", "15625", "20833", "31250", "62500"};
    link.MaxBaud = 15625;
    link.set_host(host);
  }
  void run_max_baud_test() { QCoro::waitFor(tests.run_rate_test()); }

  ScriptedDialogs dialogs;
  LoggingLinkHost host;
  FakeRecorder recorder;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{recorder, timer1, port_name};
  BaudList rates;
  CommTests tests{link, rates};
  bool& locked = host.locked;
  QStringList& reports = host.reports;
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
    QCoro::waitFor(max_baud ? f.tests.run_rate_test() : f.tests.run_device_test());
    EXPECT_EQ(f.reports, QStringList{"WriteFile function failed (Bad file descriptor, errno 9)"});
    EXPECT_EQ(f.link.com_stat().last(), "error interface");
    EXPECT_TRUE(f.dialogs.messages().isEmpty());  // no test dialog
    EXPECT_FALSE(f.locked);
  }
}

}  // namespace
}  // namespace pulvitra

namespace pulvitra {
namespace {

// The codes after "B" in what the recorder heard, in order.
QList<int> rate_codes(const QByteArray& received) {
  QList<int> codes;
  for (qsizetype i = received.indexOf('B'); i >= 0 && i + 1 < received.size(); i = received.indexOf('B', i + 2))
    codes << static_cast<std::uint8_t>(received[i + 1]);
  return codes;
}

TEST(MaxBaudTest, sends_the_code_of_each_rate_it_tests_also_when_the_list_has_gaps) {
  struct Case {
    QStringList listed;
    QList<int> codes;
  };
  const Case cases[] = {
      {{"12800", "15625", "20833", "31250", "62500"}, {251, 252, 253, 254, 255}},
      {{"12800", "20833", "62500"}, {251, 253, 255}},  // the port refused 15625 and 31250
      {{"31250"}, {254}},
  };
  for (const Case& c : cases) {
    TestsOnFake f;
    f.rates.items = c.listed;
    f.run_max_baud_test();
    EXPECT_EQ(rate_codes(f.recorder.received), c.codes) << c.listed.join(' ').toStdString();
    EXPECT_EQ(f.link.com_stat().last(), "Success");
    EXPECT_EQ(f.link.MaxBaud, c.listed.last().toInt());
  }
}

TEST(CommTests, neither_test_starts_while_an_upload_holds_the_link) {
  for (bool max_baud : {false, true}) {
    TestsOnFake f;
    ASSERT_TRUE(f.link.claim(Dialogue::Upload));
    auto test = max_baud ? f.tests.run_rate_test() : f.tests.run_device_test();
    EXPECT_TRUE(test.isReady()) << "returns at once";
    EXPECT_TRUE(f.recorder.received.isEmpty());
    EXPECT_TRUE(f.link.com_stat().isEmpty());
    EXPECT_TRUE(f.dialogs.messages().isEmpty());
    EXPECT_FALSE(f.locked);
    EXPECT_EQ(f.link.dialogue(), Dialogue::Upload) << "the upload still holds the link";
  }
}

// Runs a test and clicks Button3 (the upload) 100 ms into it; the click must change nothing.
struct TestWithClick {
  QStringList com_stat;
  QByteArray received;
  QList<DialogCall> messages;
  std::int32_t max_baud = 0;
  bool click_started_nothing = true;
};

TestWithClick run_test(bool max_baud, bool click) {
  TestsOnFake f;
  TEKG ekg;
  DecoderState decoder;
  Upload upload(f.link, f.rates, ekg, decoder);
  f.dialogs.answers = {DlgAnswer::Ok};
  TestWithClick seen;
  if (click) {
    QTimer::singleShot(100, [&] {
      auto clicked = upload.start_or_stop();
      seen.click_started_nothing = clicked.isReady() && upload.UploadRunning == 0;
    });
  }
  QCoro::waitFor(max_baud ? f.tests.run_rate_test() : f.tests.run_device_test());
  seen.com_stat = f.link.com_stat();
  seen.received = f.recorder.received;
  seen.messages = f.dialogs.messages();
  seen.max_baud = f.link.MaxBaud;
  EXPECT_FALSE(f.link.busy());
  return seen;
}

TEST(CommTests, button3_during_either_test_starts_nothing_and_changes_nothing) {
  for (bool max_baud : {false, true}) {
    SCOPED_TRACE(max_baud ? "rate test" : "device test");
    const TestWithClick alone = run_test(max_baud, false);
    const TestWithClick clicked = run_test(max_baud, true);
    EXPECT_TRUE(clicked.click_started_nothing);
    EXPECT_EQ(clicked.com_stat, alone.com_stat);
    EXPECT_EQ(clicked.received, alone.received);
    ASSERT_EQ(clicked.messages.size(), alone.messages.size());
    for (int i = 0; i < alone.messages.size(); ++i) EXPECT_EQ(clicked.messages[i].text, alone.messages[i].text);
    EXPECT_EQ(clicked.max_baud, alone.max_baud);
  }
}

TEST(CommTests, a_closing_window_ends_either_test_with_t_and_the_port_at_4800_baud) {
  for (bool max_baud : {false, true}) {
    SCOPED_TRACE(max_baud ? "rate test" : "device test");
    TestsOnFake f;
    int idle_calls = 0;
    QTimer::singleShot(100, [&] { f.link.wind_down([&] { ++idle_calls; }); });
    QCoro::waitFor(max_baud ? f.tests.run_rate_test() : f.tests.run_device_test());
    EXPECT_EQ(idle_calls, 1);
    EXPECT_TRUE(f.recorder.received.endsWith('t')) << f.recorder.received.toStdString();
    EXPECT_FALSE(f.recorder.received.contains('c')) << "the test did not run to its end";
    EXPECT_EQ(f.recorder.custom_baud_rate(), 4800);
    EXPECT_TRUE(f.recorder.connected());
    EXPECT_TRUE(f.dialogs.messages().isEmpty()) << "no result for a test the user walked away from";
    EXPECT_EQ(f.link.MaxBaud, 15625);
    EXPECT_FALSE(f.locked);
    EXPECT_FALSE(f.link.busy());
  }
}

}  // namespace
}  // namespace pulvitra
