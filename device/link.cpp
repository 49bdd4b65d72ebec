#include "device/link.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "device/ecomport.h"
#include "device/port_names.h"

namespace pulvitra {

namespace {

// A late tick makes up at most this many missed requests, one per tick; a longer stall moves
// the schedule instead, so the recorder's replies never pile up on the line.
constexpr int kMostRequestsMadeUp = 4;
// A request the pacing has not written after this long will not come: the pacing has stopped.
constexpr qint64 kRequestLostMs = 5000;

}  // namespace

bool valid_port_name(const QString& name) {
  return name.size() == 4 && name[3] >= QLatin1Char('1') && name[3] <= QLatin1Char('8');
}

std::uint8_t baud_code(std::int32_t rate) {
  const std::optional<RecorderRate> row = recorder_rate(rate);
  return row ? row->code : 0;
}

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
  clock_.start();
  now_ns = [this] { return clock_.nsecsElapsed(); };
}

bool Link::claim(Dialogue dialogue) {
  if (busy() || dialogue == Dialogue::None) return false;
  dialogue_ = dialogue;
  winding_down_ = false;
  return true;
}

void Link::release() {
  dialogue_ = Dialogue::None;
  winding_down_ = false;
  if (!when_idle_) return;
  auto when_idle = std::move(when_idle_);
  when_idle_ = nullptr;
  when_idle();
}

void Link::wind_down(std::function<void()> when_idle) {
  if (!busy()) {
    if (when_idle) when_idle();
    return;
  }
  winding_down_ = true;
  when_idle_ = std::move(when_idle);
}

void Link::com_stat_add(const QString& line) {
  com_stat_ << line;
  emit com_stat_line_added(line);
}

void Link::com_stat_clear() {
  com_stat_.clear();
  emit com_stat_cleared();
}

void Link::report(const QString& text) const { host_->report(text); }

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
  host_->tick();
  wake_waiting();
}

QCoro::Task<> Link::wait_for(qint64 deadline_ns, std::function<bool()> done) {
  // This wait's own timer: no other wait can end it early or keep it waiting.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, this, &Link::wake_waiting);
  while (!done() && now_ns() < deadline_ns) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(std::chrono::nanoseconds(deadline_ns - now_ns()));
    timer.start(std::max<std::chrono::milliseconds>(left, std::chrono::milliseconds(1)));
    co_await next_event();
  }
  // After a stall of the whole program the deadline may be handled before the bytes that
  // came in time: look at the line once more before the wait counts as failed.
  if (!done()) pul_com.take_pending_input();
}

QCoro::Task<> Link::v24_wait(std::uint16_t ms) {
  const qint64 deadline = deadline_in(ms);
  v24_start_timeout(ms);
  co_await wait_for(deadline, [] { return false; });
}

QCoro::Task<bool> Link::v24_avail(std::uint16_t ms, std::uint16_t n) {
  if (RxBuffer.size() >= n) co_return true;
  const qint64 deadline = deadline_in(ms);
  v24_start_timeout(ms);
  co_await wait_for(deadline, [this, n] { return RxBuffer.size() >= n; });
  co_return RxBuffer.size() >= n;
}

QCoro::Task<bool> Link::v24_avail_reply(int request, std::uint16_t ms, std::uint16_t n) {
  if (RxBuffer.size() >= n) co_return true;
  // The reply cannot come before its request went out: wait for the pacing to write it.
  co_await wait_for(deadline_in(kRequestLostMs), [this, request, n] {
    return requests_sent() > request || !PacingActive || RxBuffer.size() >= n;
  });
  if (RxBuffer.size() >= n) co_return true;
  if (requests_sent() <= request) co_return false;  // the pacing stopped before it
  // Counted from the later of the write and the call: never shorter than ms.
  const bool arrived = co_await v24_avail(ms, n);
  co_return arrived;
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
  } catch (const EComPort& e) {
    note_port_error(e);
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
  handshake_heard = false;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    failed = false;
    v24_clear();
    v24_send(QByteArrayLiteral("V"));
    const bool version_came = co_await v24_avail(60, 2);
    if (!RxBuffer.isEmpty()) handshake_heard = true;
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
      if (answer_came) handshake_heard = true;
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
    note_port_error(e);
    report(QString::fromUtf8(e.what()));
    return;
  }
  wake_waiting();
}

void Link::pul_comError(int errors) {
  CommError = true;
  line_errors_seen |= errors;
}

void Link::forget_line_trouble() {
  line_errors_seen = 0;
  port_error_text.clear();
  port_error_number = 0;
  handshake_heard = false;
}

void Link::note_port_error(const std::exception& e) {
  port_error_text = QString::fromUtf8(e.what());
  const auto* port_error = dynamic_cast<const EComPort*>(&e);
  port_error_number = port_error ? port_error->system_error() : 0;
}

void Link::start_pacing(std::uint32_t interval_ms) {
  request_written_ns_.clear();
  request_written_ns_.reserve(4200);
  forgiven_requests_ = 0;
  caught_up_last_tick_ = false;
  pacing_interval_ns_ = qint64{interval_ms} * 1'000'000;
  pacing_start_ns_ = now_ns();
  PrecTimer1.setResolution(1);
  PrecTimer1.setInterval(interval_ms);
  PrecTimer1.setEnabled(true);
  PrecTimer1.setPeriodic(true);
  PacingActive = true;
}

void Link::stop_pacing() {
  PacingActive = false;
  PrecTimer1.setEnabled(false);
  PrecTimer1.setPeriodic(false);
  pacing_start_ns_ = -1;
  wake_waiting();  // a block wait for a request that will not go out now
}

void Link::send_requests(int count) {
  v24_send(QByteArray(count, 's'));
  const qint64 now = now_ns();
  for (int i = 0; i < count; ++i) request_written_ns_.push_back(now);
  wake_waiting();  // a block wait may be waiting for its request to go out
}

void Link::PrecTimer1Timer(std::uint32_t /*time*/) {
  if (!PacingActive) return;
  int count = 1;
  if (pacing_start_ns_ >= 0 && pacing_interval_ns_ > 0) {
    const qint64 due = (now_ns() - pacing_start_ns_) / pacing_interval_ns_ - forgiven_requests_;
    qint64 behind = due - requests_sent();
    if (behind > kMostRequestsMadeUp + 1) {
      forgiven_requests_ += static_cast<int>(behind - kMostRequestsMadeUp - 1);
      behind = kMostRequestsMadeUp + 1;
    }
    // One request more than the tick's own, and not on two ticks in a row: the recorder's
    // line has just enough room for that.
    if (behind >= 2 && !caught_up_last_tick_) count = 2;
  }
  caught_up_last_tick_ = count == 2;
  try {
    send_requests(count);
  } catch (const std::exception& e) {
    // A port that fails under the pacing would fail again every tick: stop pacing, let the
    // transfer end as after a line error, and tell the user once.
    PacingActive = false;
    CommError = true;
    note_port_error(e);
    report(QString::fromUtf8(e.what()));
    wake_waiting();
  }
}

QCoro::Task<> Link::select_port(const QString& text, BaudSelector& CB_MaxBaud) {
  // Picking the port that is already selected only looks at its rates again.
  const bool same_port = text == port_name;
  port_name = text;
  co_await v24_reset();
  CB_MaxBaud.clear();
  com_stat_clear();
  for (std::int32_t rate : BaudTable) {
    co_await v24_open(rate);
    if (pul_com.connected()) CB_MaxBaud.add(QString::number(rate));
  }
  if (same_port) {
    CB_MaxBaud.set_text(QString::number(MaxBaud));
  } else if (CB_MaxBaud.count() > 0) {
    CB_MaxBaud.set_text(CB_MaxBaud.item(0));
    MaxBaud = CB_MaxBaud.item(0).toInt();
  }
  co_await v24_open(kBaseBaud);
}

void Link::select_rate(const QString& text) {
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
