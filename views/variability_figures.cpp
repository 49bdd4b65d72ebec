#include "views/variability_figures.h"

namespace pulvitra {

namespace {

using H = HeartRateVariability;

std::optional<double> count(std::optional<int> value) {
  if (value) return *value;
  return std::nullopt;
}

// The figures that resemble the histogram's statistics are named for what they are: the mean
// RR is the mean of the intervals (the histogram's mean in ms is the period of the mean rate),
// and the rate here is 60000 / mean RR, a little below the histogram's mean of the rates.
constexpr VariabilityFigure kFigures[] = {
    {"n", "Schläge", "Beats", "", 0, [](const H& h) { return count(h.n); }},
    {"mean_rr_ms", "RR Mittel", "Mean RR", "ms", 1, [](const H& h) { return h.mean_rr_ms; }},
    {"sdnn_ms", "SDNN", "SDNN", "ms", 1, [](const H& h) { return h.sdnn_ms; }},
    {"rmssd_ms", "RMSSD", "RMSSD", "ms", 1, [](const H& h) { return h.rmssd_ms; }},
    {"sdsd_ms", "SDSD", "SDSD", "ms", 1, [](const H& h) { return h.sdsd_ms; }},
    {"nn50", "NN50", "NN50", "", 0, [](const H& h) { return count(h.nn50); }},
    {"pnn50_percent", "pNN50", "pNN50", "%", 1, [](const H& h) { return h.pnn50_percent; }},
    {"sd1_ms", "SD1", "SD1", "ms", 1, [](const H& h) { return h.sd1_ms; }},
    {"sd2_ms", "SD2", "SD2", "ms", 1, [](const H& h) { return h.sd2_ms; }},
    {"sd1_sd2", "SD1/SD2", "SD1/SD2", "", 2, [](const H& h) { return h.sd1_sd2; }},
    {"rate_from_mean_rr", "HF aus RR Mittel", "HR from mean RR", "/min", 1,
     [](const H& h) { return h.rate_from_mean_rr; }},
    {"min_rate", "HF min.", "Min. HR", "/min", 1, [](const H& h) { return h.min_rate; }},
    {"max_rate", "HF max.", "Max. HR", "/min", 1, [](const H& h) { return h.max_rate; }},
};

}  // namespace

std::span<const VariabilityFigure> variability_figures() { return kFigures; }

}  // namespace pulvitra
