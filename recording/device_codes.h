// The recorder's device codes: image bytes from 251 up are codes, not samples. The decoder
// reads them from the image and writes some of them into the page table; the page reader
// reads them back from there.
#pragma once

#include <cstdint>

namespace pulvitra {

inline constexpr std::uint8_t kFirstCode = 251;
inline constexpr std::uint8_t kCodeSkip251 = 251;
inline constexpr std::uint8_t kCodeRateMarker = 252;
inline constexpr std::uint8_t kCodePace = 253;
inline constexpr std::uint8_t kCodeEvent = 254;
inline constexpr std::uint8_t kCodeStartRecord = 255;
// Argument of 254 that ends a page in the page table.
inline constexpr std::uint8_t kEndMarkArgument = 255;

}  // namespace pulvitra
