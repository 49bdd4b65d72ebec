#include "tools/cli/hrv_fields.h"

namespace pulvitra::cli {

const std::vector<HrvField>& hrv_fields() {
  using H = HeartRateVariability;
  static const std::vector<HrvField> fields = {
      {"n", [](const H& h) -> std::optional<double> { return h.n; }},
      {"mean_rr_ms", [](const H& h) { return h.mean_rr_ms; }},
      {"sdnn_ms", [](const H& h) { return h.sdnn_ms; }},
      {"rmssd_ms", [](const H& h) { return h.rmssd_ms; }},
      {"sdsd_ms", [](const H& h) { return h.sdsd_ms; }},
      {"nn50", [](const H& h) -> std::optional<double> {
         if (h.nn50) return *h.nn50;
         return std::nullopt;
       }},
      {"pnn50_percent", [](const H& h) { return h.pnn50_percent; }},
      {"sd1_ms", [](const H& h) { return h.sd1_ms; }},
      {"sd2_ms", [](const H& h) { return h.sd2_ms; }},
      {"sd1_sd2", [](const H& h) { return h.sd1_sd2; }},
      {"rate_from_mean_rr", [](const H& h) { return h.rate_from_mean_rr; }},
      {"min_rate", [](const H& h) { return h.min_rate; }},
      {"max_rate", [](const H& h) { return h.max_rate; }},
  };
  return fields;
}

}  // namespace pulvitra::cli
