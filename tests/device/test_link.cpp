// The link primitives against the in-process recorder: what the program sends, how long it
// waits, what it accepts as an answer, and the lines it leaves in the log.
#include <QCoroTask>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include "shell/language.h"
#include "device/link.h"
#include "tests/support/fake_recorder.h"
#include "tests/support/logging_hosts.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

struct LinkOnFake {
  LinkOnFake() { recorder.set_port(port_name); }
  bool handshake() {
    QCoro::waitFor(link.v24_open(4800));
    return QCoro::waitFor(link.v24_handshake());
  }
  FakeRecorder recorder;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{recorder, timer1, port_name};
};

TEST(LinkWaits, avail_is_true_at_once_when_the_bytes_are_there_and_false_only_after_its_time) {
  LinkOnFake f;
  f.link.RxBuffer = QByteArray("\x01\x61", 2);
  QCoro::Task<bool> avail = f.link.v24_avail(60, 2);
  EXPECT_TRUE(avail.isReady());  // finished without waiting for the timer
  EXPECT_TRUE(QCoro::waitFor(avail));

  f.link.RxBuffer = QByteArray("\x01", 1);
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(QCoro::waitFor(f.link.v24_avail(60, 2)));
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_EQ(f.link.RxBuffer.size(), 1);  // a short reply is kept for the caller
}

TEST(LinkHandshake, accepts_versions_353_to_999_and_else_the_alive_answer_of_g_cr) {
  struct Case {
    QByteArray version_reply;
    QByteArray alive_reply;
    bool identified;
    QByteArray sent;  // a failing attempt is repeated up to three times
  };
  const QByteArray alive("\xFB", 1);
  const Case cases[] = {
      {QByteArray("\x01\x60", 2), alive, false, "VVV"},  // 352
      {QByteArray("\x01\x61", 2), alive, true, "V"},     // 353
      {QByteArray("\x03\xE7", 2), alive, true, "V"},     // 999
      {QByteArray("\x03\xE8", 2), alive, false, "VVV"},  // 1000
      {QByteArray(), alive, true, "Vg\r"},
      {QByteArray(), QByteArray("\xFA", 1), false, "Vg\rVg\rVg\r"},
      {QByteArray(), QByteArray(), false, "Vg\rVg\rVg\r"},
      // Half a version number: the stray 0x01 must not be taken for the answer to "g" CR.
      {QByteArray("\x01", 1), alive, true, "Vg\r"},
  };
  for (const Case& c : cases) {
    LinkOnFake f;
    f.recorder.version_reply = c.version_reply;
    f.recorder.alive_reply = c.alive_reply;
    EXPECT_EQ(f.handshake(), c.identified) << c.version_reply.toHex().toStdString();
    EXPECT_EQ(f.recorder.received, c.sent) << c.version_reply.toHex().toStdString();
  }
}

TEST(LinkOpen, works_only_with_port_names_com1_to_com8) {
  for (const char* name : {"xxxx", "COM9", "COM0", "COM12"}) {
    LinkOnFake f;
    f.recorder.set_port(QLatin1String(name));
    QCoro::waitFor(f.link.v24_open(4800));
    EXPECT_EQ(f.link.com_stat(), QStringList{"error interface"}) << name;
    EXPECT_EQ(f.recorder.opens, 0) << name;
  }
}

TEST(LinkOpen, a_port_without_access_rights_names_the_remedy_once) {
  LinkOnFake f;
  cur_lang = kEnglish;
  f.recorder.denied = QStringLiteral("/dev/ttyUSB0");
  BaudList rates;
  QCoro::waitFor(f.link.select_port(QStringLiteral("COM1"), rates));
  const QString remedy = QStringLiteral(
      "No access to /dev/ttyUSB0: add the user to the group dialout (sudo usermod -aG dialout $USER) and log in again");
  EXPECT_EQ(f.link.com_stat().mid(0, 3), (QStringList{"COM1 12800 baud", "crit.error Baudrate", remedy}));
  EXPECT_EQ(f.link.com_stat().count(remedy), 1);
  cur_lang = kGerman;
}

QStringList warnings_seen;
void note_warning(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtWarningMsg) warnings_seen << text;
}

TEST(LinkReport, without_a_window_an_error_still_reaches_the_warning_output) {
  LinkOnFake f;  // no host set: the headless one
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.PacingActive = true;
  f.recorder.close();
  warnings_seen.clear();
  const QtMessageHandler previous = qInstallMessageHandler(note_warning);
  f.link.PrecTimer1Timer(2);
  qInstallMessageHandler(previous);
  EXPECT_EQ(warnings_seen, QStringList{"WriteFile function failed (Bad file descriptor, errno 9)"});
  EXPECT_TRUE(f.link.CommError);
}

TEST(LinkPacing, ticks_send_s_only_while_pacing_and_a_failing_port_stops_them) {
  LinkOnFake f;
  LoggingLinkHost host;
  f.link.set_host(host);
  const QStringList& reports = host.reports;
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.PrecTimer1Timer(0);
  f.link.PacingActive = true;
  f.link.PrecTimer1Timer(2);
  EXPECT_EQ(f.recorder.received, QByteArray("s"));

  f.recorder.close();
  f.link.PrecTimer1Timer(4);
  f.link.PrecTimer1Timer(6);
  EXPECT_EQ(reports, QStringList{"WriteFile function failed (Bad file descriptor, errno 9)"});
  EXPECT_FALSE(f.link.PacingActive);
  EXPECT_TRUE(f.link.CommError);
}

TEST(LinkPortChoice, lists_the_rates_the_port_accepts_and_keeps_max_baud_when_none) {
  struct Case {
    QSet<std::int32_t> refused;
    QStringList listed;
    std::int32_t max_baud;  // before: 31250
  };
  const Case cases[] = {
      {{20833, 62500}, {"12800", "15625", "31250"}, 12800},
      {{12800, 15625, 20833, 31250, 62500}, {}, 31250},
  };
  for (const Case& c : cases) {
    LinkOnFake f;
    f.recorder.refused_rates = c.refused;
    f.link.MaxBaud = 31250;
    BaudList rates;
    rates.shown = QStringLiteral("31250");
    QCoro::waitFor(f.link.select_port(QStringLiteral("COM2"), rates));
    EXPECT_EQ(f.port_name, "COM2");
    EXPECT_EQ(rates.items, c.listed);
    EXPECT_EQ(rates.shown, QString::number(c.max_baud));
    EXPECT_EQ(f.link.MaxBaud, c.max_baud);
    EXPECT_EQ(f.link.com_stat().size(), 6 + c.refused.size());  // one line per rate, one per refusal
    EXPECT_EQ(f.link.com_stat().last(), "COM2 4800 baud");
    EXPECT_EQ(f.recorder.custom_baud_rate(), 4800);
  }
}

}  // namespace
}  // namespace pulvitra

namespace pulvitra {
namespace {

TEST(LinkPacing, a_late_tick_makes_up_one_request_at_a_time_and_at_most_four) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.recorder.received.clear();
  f.link.start_pacing(10);
  // The machine was busy for 200 ms: twenty ticks are due and none came. Then the ticks come
  // every 10 ms again (each in the middle of its interval).
  QElapsedTimer clock;
  clock.start();
  QByteArray writes;
  for (int tick = 0; tick < 12; ++tick) {
    while (clock.elapsed() < 205 + 10 * tick) {
    }
    const QByteArray before = f.recorder.received;
    f.link.PrecTimer1Timer(0);
    writes += QByteArray::number(f.recorder.received.size() - before.size());
  }
  f.link.stop_pacing();
  // Two requests, then one, while behind: the four made up of the twenty missed (and any a
  // busy test machine adds), never two doubles in a row, then one per tick.
  EXPECT_TRUE(writes.startsWith("2121212")) << writes.toStdString();
  EXPECT_FALSE(writes.contains("22")) << writes.toStdString();
  EXPECT_TRUE(writes.endsWith("11")) << writes.toStdString();
  EXPECT_LE(writes.count('2'), 6) << "a long stall is not made up in full";
}

TEST(LinkPacing, a_reply_is_waited_for_from_the_moment_its_request_was_written) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.recorder.received.clear();
  f.link.RxBuffer.clear();
  // At 12800 baud the recorder answers "s" only in its read mode; this fake answers always.
  f.link.start_pacing(120);  // the first request goes out 120 ms from now
  QElapsedTimer clock;
  clock.start();
  const bool arrived = QCoro::waitFor(f.link.v24_avail_reply(0, 50, 8));
  f.link.stop_pacing();
  EXPECT_TRUE(arrived) << "the 50 ms count from the write, not from the call";
  EXPECT_GE(clock.elapsed(), 119);
  EXPECT_EQ(f.recorder.received, QByteArray("s"));
}

TEST(LinkPacing, a_reply_whose_request_never_goes_out_is_not_waited_for_forever) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.start_pacing(1000);
  QTimer::singleShot(30, [&] { f.link.stop_pacing(); });
  EXPECT_FALSE(QCoro::waitFor(f.link.v24_avail_reply(0, 50, 8)));
  EXPECT_EQ(f.link.requests_sent(), 0);
}

TEST(LinkOwnership, one_dialogue_holds_the_link_and_a_closing_window_waits_for_it) {
  LinkOnFake f;
  EXPECT_TRUE(f.link.claim(Dialogue::RateTest));
  EXPECT_FALSE(f.link.claim(Dialogue::Upload));
  EXPECT_EQ(f.link.dialogue(), Dialogue::RateTest);
  int idle = 0;
  f.link.wind_down([&] { ++idle; });
  EXPECT_TRUE(f.link.winding_down());
  EXPECT_EQ(idle, 0);
  f.link.release();
  EXPECT_EQ(idle, 1);
  EXPECT_FALSE(f.link.busy());
  EXPECT_FALSE(f.link.winding_down());
  f.link.wind_down([&] { ++idle; });  // idle: at once
  EXPECT_EQ(idle, 2);
}

TEST(LinkWaits, each_wait_keeps_its_own_deadline) {
  LinkOnFake f;
  // A second wait armed in the middle of a first (as an event handler inside the first wait
  // would) neither ends the first early nor keeps it waiting.
  QElapsedTimer clock;
  clock.start();
  qint64 inner_ended = 0;
  QTimer::singleShot(10, [&] {
    QCoro::waitFor(f.link.v24_wait(20));
    inner_ended = clock.elapsed();
  });
  QCoro::waitFor(f.link.v24_wait(100));
  const qint64 outer_ended = clock.elapsed();
  EXPECT_GE(inner_ended, 30);
  EXPECT_GE(outer_ended, 100) << "the shorter inner wait must not end the outer one";
}

TEST(BaudCodes, each_rate_of_the_table_has_its_code) {
  const std::pair<std::int32_t, int> rows[] = {{12800, 251}, {15625, 252}, {20833, 253}, {31250, 254}, {62500, 255},
                                               {9600, 0},    {4800, 0}};
  for (auto [rate, code] : rows) EXPECT_EQ(baud_code(rate), code) << rate;
}

}  // namespace
}  // namespace pulvitra
