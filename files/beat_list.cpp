#include "files/beat_list.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace pulvitra {

namespace {

// The float widened to double, in the shortest decimal that reads back as that double: a
// reader parsing it as a double gets exactly the single-precision value the program holds.
std::string exact_rate(float rate) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(rate));
  return std::string(buffer, result.ptr);
}

std::string seconds(long long ms) {
  char buffer[32];
  const int n = std::snprintf(buffer, sizeof buffer, "%lld.%03lld", ms / 1000, ms % 1000);
  return std::string(buffer, static_cast<std::size_t>(n));
}

char bit(bool set) { return set ? '1' : '0'; }

}  // namespace

QByteArray beat_list_csv(const ExportTimeline& timeline, int limit1, int limit2) {
  std::string out = "beat,time_s,rr_ms,rate_per_min,start_record,event,in_limits\n";
  for (const ExportBeat& beat : timeline.beats) {
    out += std::to_string(beat.number);
    out += ',';
    out += seconds(beat.time_ms);
    out += ',';
    out += std::to_string(beat.rr_ms);
    out += ',';
    out += exact_rate(beat.rate);
    out += ',';
    out += bit(beat.flags & kFlagStartRecord);
    out += ',';
    out += bit(beat.flags & kFlagCode254);
    out += ',';
    out += bit(rate_within_limits(beat.rate, limit1, limit2));
    out += '\n';
  }
  return QByteArray::fromStdString(out);
}

}  // namespace pulvitra
