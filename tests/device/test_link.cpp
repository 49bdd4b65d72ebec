// The link primitives against the in-process recorder: what the program sends, how long it
// waits, what it accepts as an answer, and the lines it leaves in the log.
#include <QCoroTask>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/core/language.h"
#include "device/ecomport.h"
#include "device/link.h"
#include "fake_recorder.h"

namespace pulvitra {
namespace {

struct LinkOnFake {
  LinkOnFake() { link.pul_com.set_port(port_name); }
  FakeRecorder recorder;
  QTimer timer1;
  QString port_name = QStringLiteral("COM1");
  Link link{recorder, timer1, port_name};
};

QByteArray version_bytes(int version) {
  return QByteArray(1, static_cast<char>(version / 256)) + static_cast<char>(version % 256);
}

TEST(LinkWaits, avail_is_true_at_once_when_the_bytes_are_already_there) {
  LinkOnFake f;
  f.link.RxBuffer = QByteArray("\x01\x61", 2);
  QCoro::Task<bool> avail = f.link.v24_avail(60, 2);
  EXPECT_TRUE(avail.isReady());  // finished without waiting for the timer
  EXPECT_TRUE(QCoro::waitFor(avail));
}

TEST(LinkWaits, avail_gives_up_no_earlier_than_its_timeout) {
  LinkOnFake f;
  f.link.RxBuffer = QByteArray("\x01", 1);
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(QCoro::waitFor(f.link.v24_avail(60, 2)));
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_EQ(f.link.RxBuffer.size(), 1);  // a short reply is kept for the caller
}

TEST(LinkWaits, avail_sees_bytes_that_arrive_during_the_wait) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.v24_send("s");  // the recorder answers with a block of 8 bytes
  EXPECT_TRUE(QCoro::waitFor(f.link.v24_avail(100, 8)));
  EXPECT_EQ(f.link.RxBuffer.size(), 8);
  EXPECT_EQ(f.link.v24_read_byte(), 0);
  EXPECT_EQ(f.link.v24_read_byte(), 1);
  EXPECT_EQ(f.link.RxBuffer.size(), 6);
}

TEST(LinkWaits, wait_lasts_at_least_as_long_as_asked) {
  LinkOnFake f;
  QElapsedTimer clock;
  clock.start();
  QCoro::waitFor(f.link.v24_wait(50));
  EXPECT_GE(clock.elapsed(), 50);
  EXPECT_TRUE(f.link.TimeoutElapsed);
}

TEST(LinkHandshake, accepts_versions_353_to_999_only) {
  struct Case {
    int version;
    bool identified;
    QByteArray sent;  // a wrong version is asked for three times
  };
  const Case cases[] = {
      {352, false, "VVV"}, {353, true, "V"}, {999, true, "V"}, {1000, false, "VVV"}, {0, false, "VVV"},
  };
  for (const Case& c : cases) {
    LinkOnFake f;
    f.recorder.version_reply = version_bytes(c.version);
    QCoro::waitFor(f.link.v24_open(4800));
    EXPECT_EQ(QCoro::waitFor(f.link.v24_handshake()), c.identified) << c.version;
    EXPECT_EQ(f.recorder.received, c.sent) << c.version;
  }
}

TEST(LinkHandshake, falls_back_to_g_cr_when_the_version_does_not_come) {
  struct Case {
    QByteArray alive_reply;
    bool identified;
    QByteArray sent;
  };
  const Case cases[] = {
      {QByteArray("\xFB", 1), true, "Vg\r"},
      {QByteArray("\xFA", 1), false, "Vg\rVg\rVg\r"},
      {QByteArray(), false, "Vg\rVg\rVg\r"},
  };
  for (const Case& c : cases) {
    LinkOnFake f;
    f.recorder.version_reply.clear();
    f.recorder.alive_reply = c.alive_reply;
    QCoro::waitFor(f.link.v24_open(4800));
    EXPECT_EQ(QCoro::waitFor(f.link.v24_handshake()), c.identified) << c.sent.size();
    EXPECT_EQ(f.recorder.received, c.sent);
  }
}

TEST(LinkHandshake, a_single_stray_byte_after_v_is_dropped_by_the_fallback) {
  LinkOnFake f;
  f.recorder.version_reply = QByteArray("\x01", 1);  // half a version number
  QCoro::waitFor(f.link.v24_open(4800));
  // Read first, the stray 0x01 would be taken for the answer to "g" CR and fail.
  EXPECT_TRUE(QCoro::waitFor(f.link.v24_handshake()));
  EXPECT_EQ(f.recorder.received, QByteArray("Vg\r"));
  EXPECT_TRUE(f.link.RxBuffer.isEmpty());
}

TEST(LinkOpen, works_only_with_port_names_com1_to_com8) {
  const char* names[] = {"xxxx", "COM9", "COM0", "COM12", "COM"};
  for (const char* name : names) {
    LinkOnFake f;
    f.recorder.set_port(QLatin1String(name));
    QCoro::waitFor(f.link.v24_open(4800));
    EXPECT_EQ(f.link.com_stat(), QStringList{"error interface"}) << name;
    EXPECT_FALSE(f.recorder.connected()) << name;
    EXPECT_EQ(f.recorder.opens, 0) << name;
  }
}

TEST(LinkOpen, logs_the_rate_and_sets_dtr_on_and_rts_off) {
  LinkOnFake f;
  f.port_name = QStringLiteral("COM3");
  f.recorder.set_port(f.port_name);
  QCoro::waitFor(f.link.v24_open(15625));
  EXPECT_EQ(f.link.com_stat(), QStringList{"COM3 15625 baud"});
  EXPECT_TRUE(f.recorder.connected());
  EXPECT_EQ(f.recorder.custom_baud_rate(), 15625);
  EXPECT_TRUE(f.recorder.dtr);
  EXPECT_FALSE(f.recorder.rts);
}

TEST(LinkOpen, a_refused_rate_leaves_the_port_closed) {
  LinkOnFake f;
  f.recorder.refused_rates = {62500};
  QCoro::waitFor(f.link.v24_open(4800));
  QCoro::waitFor(f.link.v24_open(62500));
  EXPECT_EQ(f.link.com_stat(), (QStringList{"COM1 4800 baud", "COM1 62500 baud", "crit.error Baudrate"}));
  EXPECT_FALSE(f.recorder.connected());
}

TEST(LinkOpen, a_port_without_access_rights_names_the_remedy_once) {
  LinkOnFake f;
  cur_lang = kEnglish;
  f.recorder.denied = QStringLiteral("/dev/ttyUSB0");
  BaudList rates;
  QCoro::waitFor(f.link.CB_ComportChange(QStringLiteral("COM1"), rates));
  const QString remedy = QStringLiteral(
      "No access to /dev/ttyUSB0: add the user to the group dialout (sudo usermod -aG dialout $USER) and log in again");
  EXPECT_EQ(f.link.com_stat().mid(0, 3), (QStringList{"COM1 12800 baud", "crit.error Baudrate", remedy}));
  EXPECT_EQ(f.link.com_stat().count(remedy), 1);
  EXPECT_EQ(f.link.com_stat().count("crit.error Baudrate"), 6);  // five rates and 4800
  EXPECT_TRUE(rates.items.isEmpty());
  cur_lang = kGerman;
}

TEST(LinkSend, sends_zero_bytes_and_nothing_for_an_empty_text) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.v24_send(QByteArray("r\0", 2));
  f.link.v24_send(QByteArray());
  EXPECT_EQ(f.recorder.received, QByteArray("r\0", 2));
}

TEST(LinkSend, a_port_that_is_not_open_fails_with_the_write_error) {
  LinkOnFake f;
  try {
    f.link.v24_send("V");
    FAIL() << "no error";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.code(), 2);
    EXPECT_STREQ(e.what(), "WriteFile function failed (win error code: 9)");
  }
}

TEST(LinkReceive, read_byte_of_an_empty_buffer_gives_zero) {
  LinkOnFake f;
  EXPECT_EQ(f.link.v24_read_byte(), 0);
  EXPECT_TRUE(f.link.RxBuffer.isEmpty());
}

TEST(LinkPacing, a_tick_sends_s_only_while_pacing) {
  LinkOnFake f;
  QCoro::waitFor(f.link.v24_open(4800));
  f.link.PrecTimer1Timer(0);
  f.link.PacingActive = true;
  f.link.PrecTimer1Timer(1);
  f.link.PrecTimer1Timer(2);
  EXPECT_EQ(f.recorder.received, QByteArray("ss"));
}

TEST(LinkPacing, a_failing_port_stops_the_pacing_and_is_reported_once) {
  LinkOnFake f;
  QStringList reports;
  f.link.report_error = [&](const QString& text) { reports << text; };
  f.link.PacingActive = true;
  f.link.PrecTimer1Timer(0);
  f.link.PrecTimer1Timer(2);
  EXPECT_EQ(reports, QStringList{"WriteFile function failed (win error code: 9)"});
  EXPECT_FALSE(f.link.PacingActive);
  EXPECT_TRUE(f.link.CommError);
}

TEST(LinkPortChoice, lists_the_rates_the_port_accepts) {
  LinkOnFake f;
  f.recorder.refused_rates = {20833, 62500};
  f.link.MaxBaud = 31250;
  BaudList rates;
  QCoro::waitFor(f.link.CB_ComportChange(QStringLiteral("COM2"), rates));
  EXPECT_EQ(f.port_name, "COM2");
  EXPECT_EQ(rates.items, (QStringList{"12800", "15625", "31250"}));
  EXPECT_EQ(rates.shown, "12800");
  EXPECT_EQ(f.link.MaxBaud, 12800);
  EXPECT_EQ(f.link.com_stat(),
            (QStringList{"COM2 12800 baud", "COM2 15625 baud", "COM2 20833 baud", "crit.error Baudrate",
                         "COM2 31250 baud", "COM2 62500 baud", "crit.error Baudrate", "COM2 4800 baud"}));
  EXPECT_TRUE(f.recorder.connected());
  EXPECT_EQ(f.recorder.custom_baud_rate(), 4800);
}

TEST(LinkPortChoice, a_port_where_no_rate_opens_leaves_the_list_empty_and_max_baud_as_it_was) {
  LinkOnFake f;
  f.recorder.refused_rates = {12800, 15625, 20833, 31250, 62500};
  f.link.MaxBaud = 20833;
  BaudList rates;
  rates.items = QStringList{"12800"};
  rates.shown = QStringLiteral("20833");
  QCoro::waitFor(f.link.CB_ComportChange(QStringLiteral("COM1"), rates));
  EXPECT_TRUE(rates.items.isEmpty());
  EXPECT_EQ(rates.shown, "20833");
  EXPECT_EQ(f.link.MaxBaud, 20833);
  EXPECT_EQ(f.link.com_stat().last(), "COM1 4800 baud");
}

TEST(LinkPortChoice, a_typed_rate_that_is_no_number_keeps_max_baud) {
  LinkOnFake f;
  f.link.MaxBaud = 15625;
  f.link.CB_MaxBaudChange(QStringLiteral("31250"));
  EXPECT_EQ(f.link.MaxBaud, 31250);
  f.link.CB_MaxBaudChange(QStringLiteral("fast"));
  f.link.CB_MaxBaudChange(QString());
  EXPECT_EQ(f.link.MaxBaud, 31250);
}

}  // namespace
}  // namespace pulvitra
