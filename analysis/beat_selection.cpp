#include "analysis/beat_selection.h"

#include <cmath>

namespace pulvitra {

bool in_histogram_range(float rate) {
  const double rounded = std::nearbyint(static_cast<double>(rate));
  return rounded >= 40.0 && rounded <= 180.0;  // written so that a NaN is left out as well
}

bool beat_selected(float rate, int lower, int upper) {
  return in_histogram_range(rate) && 2.0 * lower < rate && rate < 2.0 * upper;
}

}  // namespace pulvitra
