// Line errors as the serial driver reports them: the marking of received bytes (0377 0 x for a
// garbled byte, 0377 0 0 for a break, 0377 0377 for a real 0377) and the driver's counters.
#include <gtest/gtest.h>

#include "device/line_errors.h"

namespace pulvitra {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(MarkedInput, each_marked_error_is_one_line_error_and_the_data_keeps_its_places) {
  struct Case {
    const char* what;
    QByteArray marked;
    QByteArray data;
    std::vector<int> errors;
  };
  const Case cases[] = {
      {"plain bytes", bytes({0x01, 0x61, 0xFB}), bytes({0x01, 0x61, 0xFB}), {}},
      {"a real 0377 byte", bytes({0x10, 0377, 0377, 0x20}), bytes({0x10, 0377, 0x20}), {}},
      {"framing or parity error on 0x41", bytes({0x10, 0377, 0, 0x41, 0x20}), bytes({0x10, 0x41, 0x20}),
       {kLineFrameOrParity}},
      {"break", bytes({0377, 0, 0}), bytes({0}), {kLineBreak}},
      {"a garbled 0377", bytes({0377, 0, 0377}), bytes({0377}), {kLineFrameOrParity}},
      {"two errors and a start record", bytes({0377, 0, 7, 0377, 0377, 0, 0377, 0, 0}), bytes({7, 0377, 0, 0}),
       {kLineFrameOrParity, kLineBreak}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MarkedInputDecoder decoder;
    const auto result = decoder.decode(c.marked);
    EXPECT_EQ(result.data.toHex(), c.data.toHex());
    EXPECT_EQ(result.errors, c.errors);
  }
}

TEST(MarkedInput, a_marking_split_between_two_reads_is_decoded_whole) {
  const QByteArray marked = bytes({0x30, 0377, 0, 0x41, 0377, 0377, 0x31});
  for (int split = 0; split <= marked.size(); ++split) {
    MarkedInputDecoder decoder;
    auto first = decoder.decode(marked.left(split));
    const auto second = decoder.decode(marked.mid(split));
    first.data += second.data;
    first.errors.insert(first.errors.end(), second.errors.begin(), second.errors.end());
    EXPECT_EQ(first.data.toHex(), bytes({0x30, 0x41, 0377, 0x31}).toHex()) << "split at " << split;
    EXPECT_EQ(first.errors, std::vector<int>{kLineFrameOrParity}) << "split at " << split;
  }
}

TEST(MarkedInput, reset_forgets_a_half_marking_of_a_closed_port) {
  MarkedInputDecoder decoder;
  decoder.decode(bytes({0377}));
  decoder.reset();
  const auto result = decoder.decode(bytes({0, 0x41}));
  EXPECT_EQ(result.data.toHex(), bytes({0, 0x41}).toHex());
  EXPECT_TRUE(result.errors.empty());
}

TEST(LineCounters, every_counted_framing_parity_overrun_and_break_is_one_line_error) {
  struct Case {
    const char* what;
    LineCounters after;
    std::vector<int> errors;
  };
  const LineCounters before{3, 1, 0, 2, 5};
  const Case cases[] = {
      {"nothing new", before, {}},
      {"a framing error", {4, 1, 0, 2, 5}, {kLineFrame}},
      {"a parity error", {3, 2, 0, 2, 5}, {kLineParity}},
      {"an overrun of the UART", {3, 1, 1, 2, 5}, {kLineOverrun}},
      {"an overflow of the driver's buffer", {3, 1, 0, 3, 5}, {kLineOverrun}},
      {"a break", {3, 1, 0, 2, 6}, {kLineBreak}},
      {"two framing errors and a break", {5, 1, 0, 2, 6}, {kLineFrame, kLineFrame, kLineBreak}},
      // A replaced adapter starts counting from zero again.
      {"counters reset", {1, 0, 0, 0, 0}, {kLineFrame}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(new_line_errors(before, c.after), c.errors);
  }
}

}  // namespace
}  // namespace pulvitra
