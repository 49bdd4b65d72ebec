// Line errors as the Linux serial driver reports them. Two sources, because neither sees all:
//  - the marking of the received bytes (termios INPCK + PARMRK): a byte with a framing or
//    parity error arrives as 0377 0 x, a break as 0377 0 0, and a real 0377 byte as 0377 0377;
//  - the driver's error counters (TIOCGICOUNT), which also count overruns that leave no mark.
// Both are plain functions of their input, so they are tested without a serial adapter.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace pulvitra {

// The kinds of line error, as flags of the port's line-error event.
enum LineErrorFlag : int {
  kLineFrame = 1,       // a byte whose stop bit was missing
  kLineParity = 2,      // a byte with a wrong parity bit
  kLineOverrun = 4,     // bytes lost because the UART or the driver's buffer was full
  kLineBreak = 8,       // the line was held low for longer than a byte
  kLineFailed = 16,     // the device failed (unplugged, hung up)
};
// A marked byte cannot tell a framing from a parity error.
inline constexpr int kLineFrameOrParity = kLineFrame | kLineParity;

// Undoes the PARMRK marking of received bytes. A marking sequence may be split between two
// reads; the decoder keeps its first bytes for the next call.
class MarkedInputDecoder {
 public:
  struct Result {
    QByteArray data;          // the bytes as they were sent (a garbled byte is kept as read)
    std::vector<int> errors;  // one entry of LineErrorFlag per marked error, in order
  };

  Result decode(const QByteArray& marked);
  // Forgets a half-received marking (the port was closed).
  void reset() { state_ = State::Plain; }

 private:
  enum class State { Plain, Escape, Marked };
  State state_ = State::Plain;
};

// The driver's error counters at one moment.
struct LineCounters {
  std::uint32_t frame = 0;
  std::uint32_t parity = 0;
  std::uint32_t overrun = 0;      // the UART's own overruns
  std::uint32_t buf_overrun = 0;  // the driver's buffer overflowed
  std::uint32_t brk = 0;

  bool operator==(const LineCounters&) const = default;
};

// One LineErrorFlag entry per error counted between before and after; a counter that went
// down (the device was replaced) counts from zero.
std::vector<int> new_line_errors(const LineCounters& before, const LineCounters& after);

}  // namespace pulvitra
