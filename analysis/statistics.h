// Beat statistics of the histogram page: the heart-rate bins of all beats and the mean and
// standard deviations of the beats between the two limits, as numbers (their texts are made
// in views/evaluation_text.h). Plain data in, plain data out.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pulvitra {

inline constexpr int kFirstBin = 15;  // bins of 2 beats per minute: bin k holds rate 2k
inline constexpr int kLastBin = 95;

struct BeatStatistics {
  // HistCount[15..95] counts the beats whose halved, rounded rate is k (only 20..90 occur).
  std::array<std::uint16_t, kLastBin + 1> HistCount{};
  int StatLower = 0;  // the smaller limit position (rate 2 x StatLower per minute)
  int StatUpper = 0;  // the larger one
  int n = 0;          // beats strictly between the limits
  // The rest exists only when n > 1 (present).
  bool present = false;
  float M = 0.0f;    // mean rate per minute
  float SDr = 0.0f;  // standard deviation of the rate
  float SDp = 0.0f;  // standard deviation of the period around 60000 / M, in ms
};

// rates: BeatRate[1..BeatCount] of the recording; limit1, limit2: the two track bar
// positions in either order.
BeatStatistics beat_statistics(std::span<const float> rates, int limit1, int limit2);

// Pulse period in ms of a heart rate; a rate of exactly 0 (the empty recording) counts 1000 ms.
float beat_period(float rate);

// Nearest integer, halves to the even neighbour.
long round_even(double value);

}  // namespace pulvitra
