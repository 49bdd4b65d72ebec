#include "device/comm_tests.h"

#include <algorithm>
#include <exception>

namespace pulvitra {

namespace {

constexpr int kBlocksPerRate = 10;

}  // namespace

void CommTests::lock() { link_.host().lock(); }

void CommTests::unlock() { link_.host().unlock(); }

QCoro::Task<> CommTests::run_device_test() {
  // Another dialogue holds the link (an upload): the test does not start.
  if (!link_.claim(Dialogue::DeviceTest)) co_return;
  try {
    co_await device_test();
  } catch (const std::exception& e) {
    // A port error ends the test; the window must not stay locked as during a transfer.
    unlock();
    link_.report(QString::fromUtf8(e.what()));
  }
  link_.release();
}

QCoro::Task<> CommTests::run_rate_test() {
  if (!link_.claim(Dialogue::RateTest)) co_return;
  try {
    co_await max_baud_test();
  } catch (const std::exception& e) {
    unlock();
    link_.report(QString::fromUtf8(e.what()));
  }
  link_.release();
}

QCoro::Task<> CommTests::wind_down() {
  // The window is closing: leave the recorder idle and the port at the base rate, as the
  // next start expects them.
  link_.v24_send(QByteArrayLiteral("t"));
  co_await link_.v24_open(kBaseBaud);
  unlock();
}

QCoro::Task<> CommTests::device_test() {
  lock();
  co_await link_.v24_open(kBaseBaud);
  const bool identified = co_await link_.v24_handshake();
  if (link_.winding_down()) {
    co_await wind_down();
    co_return;
  }
  link_.host().notify(identified ? DialogueNotice::DeviceAnswered : DialogueNotice::DeviceSilent);
  link_.v24_send(QByteArrayLiteral("c"));
  unlock();
}

QCoro::Task<bool> CommTests::ten_blocks_arrive() {
  for (int block = 0; block < kBlocksPerRate && !link_.CommError && !link_.winding_down(); ++block) {
    link_.v24_send(QByteArrayLiteral("s"));
    const bool arrived = co_await link_.v24_avail(100, 8);
    if (!arrived) co_return false;
    link_.v24_clear();  // the blocks only have to arrive; their bytes are not looked at
  }
  co_return !link_.CommError;
}

QCoro::Task<> CommTests::max_baud_test() {
  lock();
  link_.com_stat_clear();
  link_.com_stat_add(QStringLiteral("Test max. Baudrate"));
  co_await link_.v24_open(kBaseBaud);
  const bool identified = co_await link_.v24_handshake();
  if (!identified) {
    link_.host().notify(DialogueNotice::DeviceSilent);
    link_.com_stat_add(QStringLiteral("communication"));
    link_.com_stat_add(QStringLiteral("Kordamat Error"));
  }
  // The port accepted none of the rates: nothing to try, nothing to select.
  if (CB_MaxBaud_.count() == 0) {
    unlock();
    co_return;
  }

  int i = 0;
  bool failed = false;
  do {
    link_.com_stat_add(QStringLiteral("Test"));
    const std::int32_t rate = CB_MaxBaud_.item(i).toInt();
    // The code of the rate itself: the list leaves out the rates the port refused.
    const std::uint8_t code = baud_code(rate) != 0 ? baud_code(rate) : kFirstBaudCode;
    link_.v24_send(QByteArray{"B"} + static_cast<char>(code));
    co_await link_.v24_wait(20);
    co_await link_.v24_open(rate);
    if (!link_.pul_com.connected()) {
      // The PC's port refuses the rate: back to the base rate, MaxBaud as it was.
      co_await link_.v24_reset();
      unlock();
      co_return;
    }
    CB_MaxBaud_.set_text(CB_MaxBaud_.item(i));
    link_.CommError = false;
    link_.v24_send(QByteArray("r\0", 2));
    co_await link_.v24_wait(50);
    const bool passed = co_await ten_blocks_arrive();
    if (link_.winding_down()) {
      co_await wind_down();
      co_return;
    }
    failed = !passed;
    ++i;
  } while (!failed && i < CB_MaxBaud_.count());

  i -= 1;  // the position last tried
  if (failed) {
    link_.com_stat_add(QStringLiteral("Error"));
    i = std::max(i - 1, 0);  // the rate before the failing one, or the first
  } else {
    link_.com_stat_add(QStringLiteral("Success"));
  }
  link_.v24_send(QByteArrayLiteral("t"));
  CB_MaxBaud_.select(i);
  CB_MaxBaud_.set_text(CB_MaxBaud_.item(i));
  link_.MaxBaud = CB_MaxBaud_.item(i).toInt();
  unlock();
}

}  // namespace pulvitra
