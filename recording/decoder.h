// The decoder of the recorder's memory image: finds the beats, their heart rates and event
// bits, and cuts the samples into display pages. Also the page reader the views walk with.
#pragma once

#include <cstdint>

#include "recording/tekg.h"

namespace pulvitra {

// Rebuilds BeatRate, BeatFlags, BeatCount, Pages, PageStartBlock, PageRate, PageTime and
// TimeStep from ekg.Image. Reads FixedInterval. The detector's running values carry over
// from one decode to the next.
void DecodeRecording(TEKG& ekg);

// Number of positions j in 1..32760 where the image holds 255 0 255 0 (overlaps count).
int CountMeasurements(const TEKG& ekg);

// The page reader: the caller sets CurPage, ReadPos := 0 and PageEnd := false, then calls
// this until PageEnd. Returns the next sample of the page (0..250), or 0 at the end, and sets
// PageBeatSeen/PageBeatValue, SawCode253, SawCode254 and SawStartRecord on the way.
std::uint8_t NextPageSample(TEKG& ekg);

}  // namespace pulvitra
