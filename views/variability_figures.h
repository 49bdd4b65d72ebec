// The heart-rate variability figures, one row each, in the order the Lorenz page's panel,
// pulvitra-cli stats (JSON members of "hrv") and pulvitra-cli summary (CSV columns "hrv_...")
// show them. A new figure is its computation in analysis/hrv.h and one row here.
#pragma once

#include <optional>
#include <span>

#include "analysis/hrv.h"

namespace pulvitra {

struct VariabilityFigure {
  const char* key;      // the name scripts read it by
  const char* german;   // the panel's label, UTF-8
  const char* english;
  const char* unit;     // shown after a blank; "" for a count or a ratio
  int decimals;         // on the panel
  // The figure, or nothing where too few beats or differences give none.
  std::optional<double> (*value)(const HeartRateVariability&);
};

std::span<const VariabilityFigure> variability_figures();

}  // namespace pulvitra
