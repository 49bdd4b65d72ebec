// The line rates the recorder switches to after "B" and a rate code, above the base rate of
// 4800 baud it identifies itself at: each with its code and the pacing of the upload's block
// requests at that rate (the recorder needs that long to send a block of 8 bytes).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace pulvitra {

struct RecorderRate {
  std::int32_t baud;
  std::uint8_t code;          // sent after "B"
  std::uint32_t pacing_ms;    // between two block requests
};

// In the order they are tried, slowest first; the codes count up from 251.
inline constexpr std::array<RecorderRate, 5> kRecorderRates{{
    {12800, 251, 8},
    {15625, 252, 6},
    {20833, 253, 5},
    {31250, 254, 4},
    {62500, 255, 2},
}};

// The row of a rate; nothing for a rate the recorder does not know.
std::optional<RecorderRate> recorder_rate(std::int32_t baud);
// The row of a rate code; nothing for another byte.
std::optional<RecorderRate> recorder_rate_of_code(std::uint8_t code);

}  // namespace pulvitra
