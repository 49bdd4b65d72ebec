#include "device/link.h"

#include <QDebug>
#include <exception>

#include "device/ecomport.h"
#include "device/port_names.h"

namespace pulvitra {

namespace {

// The link only works with port names of the form COMn, n = 1..8.
bool valid_port_name(const QString& name) {
  return name.size() == 4 && name[3] >= QLatin1Char('1') && name[3] <= QLatin1Char('8');
}

}  // namespace

QString baud_line(const QString& port_name, std::int32_t rate) {
  return port_name + QLatin1Char(' ') + QString::number(rate) + QStringLiteral(" baud");
}

Link::Link(PortInterface& pul_com_in, QTimer& timer1, QString& port_name_in, QObject* parent)
    : QObject(parent), pul_com(pul_com_in), Timer1(timer1), port_name(port_name_in) {
  // Timeouts must never end early; a coarse timer may fire a few percent before its time.
  Timer1.setTimerType(Qt::PreciseTimer);
  connect(&Timer1, &QTimer::timeout, this, &Link::Timer1Timer);
  connect(&pul_com, &PortInterface::rx_char, this, &Link::pul_comRxChar);
  connect(&pul_com, &PortInterface::line_error, this, &Link::pul_comError);
  PrecTimer1.OnTimer = [this](std::uint32_t time) { PrecTimer1Timer(time); };
}

void Link::com_stat_add(const QString& line) {
  com_stat_ << line;
  emit com_stat_line_added(line);
}

void Link::com_stat_clear() {
  com_stat_.clear();
  emit com_stat_cleared();
}

void Link::report(const QString& text) {
  if (report_error) {
    report_error(text);
  } else {
    qWarning().noquote() << text;
  }
}

void Link::wake_waiting() {
  std::vector<std::coroutine_handle<>> woken;
  woken.swap(waiting_);
  for (std::coroutine_handle<> waiting : woken) waiting.resume();
}

void Link::v24_start_timeout(std::uint16_t ms) {
  TimeoutElapsed = false;
  Timer1.stop();
  Timer1.setInterval(ms);
  Timer1.start();
}

void Link::Timer1Timer() {
  TimeoutElapsed = true;
  Timer1.stop();
  if (on_timer1) on_timer1();
  wake_waiting();
}

QCoro::Task<> Link::v24_wait(std::uint16_t ms) {
  v24_start_timeout(ms);
  while (!TimeoutElapsed) co_await next_event();
}

QCoro::Task<bool> Link::v24_avail(std::uint16_t ms, std::uint16_t n) {
  v24_start_timeout(ms);
  while (RxBuffer.size() < n && !TimeoutElapsed) co_await next_event();
  co_return RxBuffer.size() >= n;
}

void Link::v24_clear() { RxBuffer.clear(); }

void Link::v24_send(const QByteArray& text) {
  if (text.isEmpty()) return;
  pul_com.write_str(text);
}

std::uint8_t Link::v24_read_byte() {
  if (RxBuffer.isEmpty()) return 0;
  const auto byte = static_cast<std::uint8_t>(RxBuffer.front());
  RxBuffer.remove(0, 1);
  return byte;
}

QCoro::Task<> Link::v24_open(std::int32_t rate) {
  if (!valid_port_name(pul_com.port())) {
    com_stat_add(QStringLiteral("error interface"));
    co_return;
  }
  co_await v24_wait(10);
  if (pul_com.connected()) pul_com.close();
  pul_com.set_custom_baud_rate(rate);
  com_stat_add(baud_line(port_name, rate));
  try {
    pul_com.open();
  } catch (const EComPort&) {
    com_stat_add(QStringLiteral("crit.error Baudrate"));
    const QString denied = pul_com.denied_device();
    if (!denied.isEmpty() && !com_stat_.contains(permission_remedy(denied))) com_stat_add(permission_remedy(denied));
    co_return;
  }
  pul_com.set_dtr(true);
  pul_com.set_rts(false);
  co_await v24_wait(200);
}

QCoro::Task<> Link::v24_reset() {
  if (pul_com.connected()) pul_com.close();
  pul_com.set_port(port_name);
  co_await v24_open(kBaseBaud);
}

QCoro::Task<bool> Link::v24_handshake() {
  bool failed = false;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    failed = false;
    v24_clear();
    v24_send(QByteArrayLiteral("V"));
    const bool version_came = co_await v24_avail(60, 2);
    if (version_came) {
      const int high = v24_read_byte();
      const int version = high * 256 + v24_read_byte();
      failed = version < kLowestVersion || version > kHighestVersion;
    } else {
      // No version reply: an older recorder only answers "g" CR. A single stray byte of the
      // "V" attempt is dropped here, not before.
      v24_clear();
      v24_send(QByteArrayLiteral("g\r"));
      const bool answer_came = co_await v24_avail(60, 1);
      failed = !answer_came || v24_read_byte() != kAliveAnswer;
    }
    if (!failed) break;
  }
  co_return !failed;
}

void Link::pul_comRxChar(int count) {
  try {
    RxBuffer += pul_com.read_str(count);
  } catch (const std::exception& e) {
    report(QString::fromUtf8(e.what()));
    return;
  }
  wake_waiting();
}

void Link::pul_comError(int /*errors*/) { CommError = true; }

void Link::PrecTimer1Timer(std::uint32_t /*time*/) {
  if (!PacingActive) return;
  try {
    v24_send(QByteArrayLiteral("s"));
  } catch (const std::exception& e) {
    // A port that fails under the pacing would fail again every tick: stop pacing, let the
    // transfer end as after a line error, and tell the user once.
    PacingActive = false;
    CommError = true;
    report(QString::fromUtf8(e.what()));
  }
}

QCoro::Task<> Link::CB_ComportChange(const QString& text, BaudSelector& CB_MaxBaud) {
  port_name = text;
  co_await v24_reset();
  CB_MaxBaud.clear();
  com_stat_clear();
  for (std::int32_t rate : BaudTable) {
    co_await v24_open(rate);
    if (pul_com.connected()) CB_MaxBaud.add(QString::number(rate));
  }
  if (CB_MaxBaud.count() > 0) {
    CB_MaxBaud.set_text(CB_MaxBaud.item(0));
    MaxBaud = CB_MaxBaud.item(0).toInt();
  }
  co_await v24_open(kBaseBaud);
}

void Link::CB_MaxBaudChange(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (ok) MaxBaud = value;
}

QCoro::Task<> Link::run_reporting(Link& link, QCoro::Task<> dialogue) {
  try {
    co_await std::move(dialogue);
  } catch (const std::exception& e) {
    link.report(QString::fromUtf8(e.what()));
  }
}

}  // namespace pulvitra
