// What both exports (the beat list and the EDF+ file) see of a decoded recording: its samples
// on one time axis with a single sample interval, and the kept beats placed on that axis at the
// sample at which the detector found them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "recording/decoder.h"
#include "recording/recorded_time.h"
#include "recording/tekg.h"

namespace pulvitra {

struct ExportBeat {
  int number = 0;      // 1-based, as BeatRate counts
  long long time_ms = 0;  // time of the sample it was detected at
  int rr_ms = 0;       // 60000 / rate, to the nearest millisecond
  float rate = 0.0f;   // BeatRate as stored
  std::uint8_t flags = 0;  // BeatFlags
};

struct ExportTimeline {
  std::vector<std::uint8_t> samples;  // sample k (from 1) lies at (k - 1) x interval_ms
  int interval_ms = kDefaultSampleInterval;
  std::vector<ExportBeat> beats;  // the counted beats 1..BeatCount
};

// The timeline of a decoded recording; decoded is the result of the decode that built ekg's
// tables (DecoderState::last_decode).
ExportTimeline export_timeline(const TEKG& ekg, std::uint8_t fixed_interval, const DecodeResult& decoded);

// Whether a beat's rate lies between the two histogram limit positions (either order), compared
// as the beat statistics compare them: a rounded rate within 40..180 and strictly between twice
// the limits.
bool rate_within_limits(float rate, int limit1, int limit2);

}  // namespace pulvitra
