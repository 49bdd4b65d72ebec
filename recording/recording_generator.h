// Synthetic recorder images for the demo, the simulated recorder, tests and benchmarks: an
// ECG with P, QRS and T waves, a heart rate that drifts between rest and exercise, slight
// noise and baseline wander, and the device codes a recorder writes. The same options and
// seed always give the same bytes, on every platform.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "recording/tekg.h"

namespace pulvitra {

struct GeneratorOptions {
  std::uint32_t seed = 1;
  // Sample interval, 2..30 ms. The decoder estimates only even intervals from the rate
  // markers; an odd one needs the interval stored in the file (generate --fixed-interval).
  int interval_ms = 10;
  // A steady heart rate (beats per minute, with slight beat-to-beat variation); 0 lets the
  // rate drift between min_rate and max_rate through rest and exercise phases.
  double rate = 0.0;
  double min_rate = 60.0;
  double max_rate = 140.0;
  // Length of the measurement; 0 fills the whole memory. Memory after the end keeps the
  // empty-memory value 125.
  double minutes = 0.0;
  int rate_marker_every = 8;       // a rate marker 252 X after every so many beats
  double event_every_s = 0.0;      // event marks 254 0 about this often; 0 = none
  int pace_every = 0;              // a pace code 253 before every n-th beat; 0 = none
  bool second_measurement = false; // a second start record 255 0 255 0 halfway through
  double noise = 0.6;              // standard deviation of the sample noise
};

struct GeneratedRecording {
  std::array<std::uint8_t, kImageSize> image{};  // image byte k+1 at index k
  // For each beat written: the image position (1-based) of its R peak, and its heart rate
  // (60000 / the time since the previous beat in ms; the first beat uses its own period).
  std::vector<int> beat_positions;
  std::vector<double> beat_rates;
  int measurement_starts = 1;  // start records 255 0 255 0 written
};

GeneratedRecording generate_recording(const GeneratorOptions& options);

// Puts a generated image into ekg.Image[1..32768].
void copy_generated_image(const GeneratedRecording& recording, TEKG& ekg);

}  // namespace pulvitra
