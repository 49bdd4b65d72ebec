// How long a decoded recording ran: its samples and the interval the decoder rated its beats
// with. The overview page weighs the beats found against it.
#pragma once

#include <cstdint>
#include <span>

#include "recording/decoder.h"
#include "recording/tekg.h"

namespace pulvitra {

// The interval assumed when the file fixes none and there are no beats to tell.
inline constexpr int kDefaultSampleInterval = 10;

// The file's fixed interval when it sets one; otherwise the interval most of the beats were
// rated with (on a tie the smaller), kDefaultSampleInterval without beats. Not the first beat's
// interval: the start of a recording often rates it with a stray estimate.
int sample_interval(std::uint8_t fixed_interval, std::span<const std::uint8_t> beat_intervals);

// The recorded time in ms: the samples the detector reads (device codes passed over), up to
// the last one that is not the empty memory's 125, times the sample interval above (of the
// counted beats of the last decode; with fewer than 10 of them the file's interval or the
// assumed one). The empty memory after a measurement was never recorded, so a short
// measurement is not taken for a long one without beats; the image after New has no recorded
// time at all.
long long recorded_time_ms(const TEKG& ekg, const DecoderState& state);

}  // namespace pulvitra
