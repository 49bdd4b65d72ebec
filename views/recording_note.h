// The calm note for a recording in which the decoder found hardly any beats (noise, loose
// electrodes, a recorder that was not worn): shown on the overview page and in the status log
// instead of leaving the user with a noisy overview and one histogram bar.
#pragma once

#include <QString>
#include <optional>

namespace pulvitra {

// A recording needs at least this many beats in all, and this many per minute of recorded time.
inline constexpr int kFewestBeats = 10;
inline constexpr int kFewestBeatsPerMinute = 20;

// The note, in the chosen language, when `beats` found in `recorded_ms` of recording fall short
// of either minimum; none for a plausible recording and none when nothing was recorded (the
// empty recording after New).
std::optional<QString> few_beats_note(int beats, long long recorded_ms);

}  // namespace pulvitra
