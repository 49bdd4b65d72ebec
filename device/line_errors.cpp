#include "device/line_errors.h"

namespace pulvitra {

namespace {

constexpr char kMark = '\377';

void add_errors(std::vector<int>& errors, std::uint32_t before, std::uint32_t after, int flag) {
  const std::uint32_t count = after >= before ? after - before : after;
  errors.insert(errors.end(), count, flag);
}

}  // namespace

MarkedInputDecoder::Result MarkedInputDecoder::decode(const QByteArray& marked) {
  Result result;
  result.data.reserve(marked.size());
  for (const char byte : marked) {
    switch (state_) {
      case State::Plain:
        if (byte == kMark) {
          state_ = State::Escape;
        } else {
          result.data += byte;
        }
        break;
      case State::Escape:
        if (byte == kMark) {  // a real 0377 byte, doubled by the driver
          result.data += kMark;
          state_ = State::Plain;
        } else if (byte == '\0') {
          state_ = State::Marked;
        } else {
          // Not a marking the driver writes; keep both bytes rather than lose data.
          result.data += kMark;
          result.data += byte;
          state_ = State::Plain;
        }
        break;
      case State::Marked:
        // 0377 0 0 is a break; 0377 0 x a byte that arrived garbled. The recorder's bytes
        // are kept in place so block boundaries stay where they were.
        result.errors.push_back(byte == '\0' ? kLineBreak : kLineFrameOrParity);
        result.data += byte;
        state_ = State::Plain;
        break;
    }
  }
  return result;
}

std::vector<int> new_line_errors(const LineCounters& before, const LineCounters& after) {
  std::vector<int> errors;
  add_errors(errors, before.frame, after.frame, kLineFrame);
  add_errors(errors, before.parity, after.parity, kLineParity);
  add_errors(errors, before.overrun, after.overrun, kLineOverrun);
  add_errors(errors, before.buf_overrun, after.buf_overrun, kLineOverrun);
  add_errors(errors, before.brk, after.brk, kLineBreak);
  return errors;
}

}  // namespace pulvitra
