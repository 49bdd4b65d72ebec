#include "tests/support/fake_recorder.h"

#include <QTimer>

#include "device/ecomport.h"
#include "device/link.h"

namespace pulvitra::test {

void FakeRecorder::open() {
  if (connected_) return;
  if (!denied.isEmpty()) throw EComPort(kErrOpen, 13);
  if (refused_rates.contains(rate_)) throw EComPort(kErrSetState, 22);
  connected_ = true;
  ++opens;
}

int FakeRecorder::write_str(const QByteArray& bytes) {
  if (!connected_) throw EComPort(kErrWrite, 9);
  for (char byte : bytes) {
    received += byte;
    take(byte);
  }
  return static_cast<int>(bytes.size());
}

QByteArray FakeRecorder::read_str(int max_bytes) {
  QByteArray taken = input_.left(max_bytes);
  input_.remove(0, taken.size());
  return taken;
}

// A real line garbles everything when both ends run at different rates; the fake then
// simply hears nothing.
void FakeRecorder::take(char byte) {
  if (rate_ != recorder_rate) {
    pending_.clear();
    return;
  }
  if (!pending_.isEmpty()) {
    const char first = pending_.front();
    pending_.clear();
    if (first == 'g' && byte == '\r') answer(alive_reply);
    if (first == 'B') {
      const int index = static_cast<std::uint8_t>(byte) - kFirstBaudCode;
      if (index >= 0 && index < static_cast<int>(BaudTable.size())) recorder_rate = BaudTable[index];
    }
    return;
  }
  switch (byte) {
    case 'V': answer(version_reply); break;
    case 'g': case 'B': case 'r': pending_ = QByteArray(1, byte); break;
    case 's': block(); break;
    default: break;  // "i", "y", "t", "c" need no answer
  }
}

void FakeRecorder::block() {
  if (silent_rates.contains(recorder_rate)) return;
  QByteArray bytes;
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((next_block_ * 8 + i) % 251);
  ++next_block_;
  answer(bytes);
}

void FakeRecorder::answer(const QByteArray& bytes) {
  if (bytes.isEmpty()) return;
  QTimer::singleShot(reply_delay_ms, this, [this, bytes] {
    if (!connected_) return;
    input_ += bytes;
    emit rx_char(static_cast<int>(input_.size()));
  });
}

}  // namespace pulvitra::test
