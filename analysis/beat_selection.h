// Which beats the evaluation takes: the histogram, its statistics, the heart-rate variability
// and the beat list's in-limits column all ask this one question, so they always agree.
#pragma once

namespace pulvitra {

// A beat takes part in the histogram when its rounded rate lies in 40..180. A NaN (a damaged
// table) never does.
bool in_histogram_range(float rate);

// Whether a beat of this rate counts between the limit positions lower < upper: it takes part
// in the histogram and its rate lies strictly between 2 x lower and 2 x upper.
bool beat_selected(float rate, int lower, int upper);

}  // namespace pulvitra
