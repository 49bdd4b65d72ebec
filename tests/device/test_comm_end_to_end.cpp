// The two communication tests over the program's real serial port against recorder-sim on a
// pseudo-terminal, reached as COM1 through the [Ports] section.
#include <QCoroTask>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"
#include "device/comm_tests.h"
#include "device/serial_port.h"
#include "tests/support/recorder_process.h"
#include "tests/support/logging_hosts.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

struct TestsOnSim {
  explicit TestsOnSim(const QStringList& sim_args) : sim(sim_args) {
    cur_lang = kEnglish;
    port.set_port_map(sim.folder.ports());
    port.set_port(port_name);
    rates.items = QStringList{"12800", "15625", "20833", "31250", "62500"};
    link.MaxBaud = 20833;
    link.set_host(host);
  }
  ~TestsOnSim() {
    try {
      port.close();
    } catch (...) {
    }
  }

  RecorderSim sim;
  LoggingLinkHost host;
  QStringList& lock_events = host.events;
  QStringList& reports = host.reports;
  ScriptedDialogs dialogs;
  QString port_name = QStringLiteral("COM1");
  TComPortN port;
  QTimer timer1;
  Link link{port, timer1, port_name};
  BaudList rates;
  CommTests tests{link, rates};
};

// The last thing the recorder heard, from its log: "rx <rate> baud: <bytes>".
QString last_received(const QString& log) {
  const QStringList lines = log.split('\n');
  for (auto line = lines.crbegin(); line != lines.crend(); ++line)
    if (line->contains(QLatin1String(" rx "))) return line->section(QLatin1String(": "), 1).trimmed();
  return QString();
}

TEST(CommTestsOnSim, device_test_reports_the_recorder_and_always_ends_with_c) {
  struct Case {
    QStringList sim_args;
    DlgIcon icon;
    QString text;
  };
  const Case cases[] = {
      {{}, DlgIcon::Information, "communication - Kordamat successful !"},
      {{"--no-v"}, DlgIcon::Information, "communication - Kordamat successful !"},
      {{"--version", "1000"}, DlgIcon::Error, "communication - Kordamat Error !"},
  };
  for (const Case& c : cases) {
    TestsOnSim f(c.sim_args);
    ASSERT_TRUE(f.sim.started);
    QCoro::waitFor(f.tests.run_device_test());
    ASSERT_EQ(f.dialogs.messages().size(), 1) << c.sim_args.join(' ').toStdString();
    EXPECT_EQ(f.dialogs.messages()[0].icon, c.icon);
    EXPECT_EQ(f.dialogs.messages()[0].text, c.text);
    EXPECT_EQ(f.lock_events, (QStringList{"open", "close"}));
    EXPECT_TRUE(f.reports.isEmpty());
    QTest::qWait(30);  // the recorder writes its log as the bytes come
    EXPECT_EQ(last_received(f.sim.log()), "c") << f.sim.log().toStdString();
  }
}

TEST(CommTestsOnSim, max_baud_test_with_every_rate_working_selects_62500) {
  TestsOnSim f({});
  ASSERT_TRUE(f.sim.started);
  QCoro::waitFor(f.tests.run_rate_test());
  EXPECT_EQ(f.link.com_stat(),
            (QStringList{"Test max. Baudrate", "COM1 4800 baud", "Test", "COM1 12800 baud", "Test", "COM1 15625 baud",
                         "Test", "COM1 20833 baud", "Test", "COM1 31250 baud", "Test", "COM1 62500 baud", "Success"}));
  EXPECT_EQ(f.link.MaxBaud, 62500);
  EXPECT_EQ(f.rates.shown, "62500");
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  EXPECT_EQ(f.lock_events, (QStringList{"open", "close"}));
  QTest::qWait(30);
  EXPECT_EQ(last_received(f.sim.log()), "t");
}

TEST(CommTestsOnSim, max_baud_test_selects_the_rate_below_the_first_failing_one) {
  struct Case {
    QStringList sim_args;
    std::int32_t selected;
    int dialogs;  // the error dialog when the recorder does not answer at 4800 baud
  };
  const Case cases[] = {{{"--max-rate", "15625"}, 15625, 0}, {{"--max-rate", "4800"}, 12800, 0}, {{"--silent"}, 12800, 1}};
  for (const Case& c : cases) {
    TestsOnSim f(c.sim_args);
    ASSERT_TRUE(f.sim.started);
    QCoro::waitFor(f.tests.run_rate_test());
    EXPECT_EQ(f.link.MaxBaud, c.selected);
    EXPECT_EQ(f.rates.shown, QString::number(c.selected));
    EXPECT_EQ(f.link.com_stat().last(), "Error");
    EXPECT_EQ(f.lock_events, (QStringList{"open", "close"}));
    ASSERT_EQ(f.dialogs.messages().size(), c.dialogs);
    if (c.dialogs == 0) continue;
    EXPECT_EQ(f.dialogs.messages()[0].icon, DlgIcon::Error);
    EXPECT_EQ(f.dialogs.messages()[0].text, "communication - Kordamat Error !");
    EXPECT_EQ(f.link.com_stat().mid(0, 5),
              (QStringList{"Test max. Baudrate", "COM1 4800 baud", "communication", "Kordamat Error", "Test"}));
  }
}

}  // namespace
}  // namespace pulvitra

namespace pulvitra {
namespace {

TEST(CommTestsOnSim, max_baud_test_steps_back_from_a_line_that_garbles_above_a_rate) {
  TestsOnSim f({"--garble-above", "20833"});
  ASSERT_TRUE(f.sim.started);
  QCoro::waitFor(f.tests.run_rate_test());
  EXPECT_EQ(f.link.MaxBaud, 20833) << "31250 garbles, so the rate before it is chosen";
  EXPECT_EQ(f.rates.shown, "20833");
  EXPECT_EQ(f.link.com_stat().mid(f.link.com_stat().size() - 3), (QStringList{"Test", "COM1 31250 baud", "Error"}));
  QTest::qWait(50);  // the recorder writes its log as the bytes go
  EXPECT_TRUE(f.sim.log().contains("garbled")) << f.sim.log().toStdString();
}

}  // namespace
}  // namespace pulvitra
