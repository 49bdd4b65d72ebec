// The one recording of the program: the raw device image (the only primary data) and the
// tables the decoder derives from it. All arrays are 1-based as the recorder documentation
// counts them; element 0 exists only so that index N addresses element N.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pulvitra {

inline constexpr int kImageSize = 32768;
inline constexpr int kPageCount = 180;
inline constexpr int kPageBytes = 300;
inline constexpr int kMaxBeats = 2800;
inline constexpr int kBeatFlagSlots = 3500;
inline constexpr int kPageInfoSlots = 300;  // PageRate and PageTime have 300 slots, more than pages

// Event bits of a beat.
inline constexpr std::uint8_t kFlagStartRecord = 1;  // a start record 255 0 x x came before it
inline constexpr std::uint8_t kFlagCode254 = 4;      // a device code 254 came before it

struct TEKG {
  std::string FileName = "default.pul";

  std::array<std::uint8_t, kImageSize + 1> Image{};                              // [1..32768]
  std::array<std::array<std::uint8_t, kPageBytes + 1>, kPageCount + 1> Pages{};  // [1..180][1..300]
  std::array<std::uint16_t, kPageCount + 1> PageStartBlock{};                    // [1..180]
  std::array<std::uint8_t, kPageInfoSlots + 1> PageRate{};                       // [1..300]
  std::array<float, kPageInfoSlots + 1> PageTime{};                              // [1..300]
  std::array<float, kMaxBeats + 1> BeatRate{};                                   // [1..2800]
  std::array<std::uint8_t, kBeatFlagSlots + 1> BeatFlags{};                      // [1..3500]

  std::uint16_t BeatCount = 0;
};

// Empties the recording as New does: image and pages 125, beats and page rates cleared,
// BeatCount 1, FileName "default.pul". Patient fields live elsewhere.
void clear_recording(TEKG& ekg);

// Empties the page tables as a new recording has them: pages 125, no page rates, times or
// starts. Every decode starts from here, so no page keeps samples of the recording before.
void clear_pages(TEKG& ekg);

}  // namespace pulvitra
