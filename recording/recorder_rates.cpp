#include "recording/recorder_rates.h"

#include <algorithm>

namespace pulvitra {

std::optional<RecorderRate> recorder_rate(std::int32_t baud) {
  const auto found = std::find_if(kRecorderRates.begin(), kRecorderRates.end(),
                                  [baud](const RecorderRate& row) { return row.baud == baud; });
  if (found == kRecorderRates.end()) return std::nullopt;
  return *found;
}

std::optional<RecorderRate> recorder_rate_of_code(std::uint8_t code) {
  const auto found = std::find_if(kRecorderRates.begin(), kRecorderRates.end(),
                                  [code](const RecorderRate& row) { return row.code == code; });
  if (found == kRecorderRates.end()) return std::nullopt;
  return *found;
}

}  // namespace pulvitra
