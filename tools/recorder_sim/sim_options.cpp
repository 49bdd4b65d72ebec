#include "tools/recorder_sim/sim_options.h"

#include <charconv>
#include <cstring>

namespace pulvitra::sim {

namespace {

bool parse_int(const char* text, int min, int max, int& value) {
  const char* end = text + std::strlen(text);
  auto [last, ec] = std::from_chars(text, end, value);
  return ec == std::errc() && last == end && value >= min && value <= max;
}

}  // namespace

std::optional<SimOptions> parse_sim_options(int argc, char** argv, std::string& error) {
  SimOptions options;
  RecorderConfig& rec = options.recorder;
  struct Number {
    const char* name;
    int* target;
    int min;
    int max;
  };
  // The version is deliberately not limited to 353..999: a wrong version is a fault to test.
  const Number numbers[] = {{"--version", &rec.version, 0, 65535},
                            {"--max-rate", &rec.max_rate, 1, 10000000},
                            {"--drop-block", &rec.drop_block, 0, kBlockCount},
                            {"--stall-ms", &rec.stall_ms, 0, 600000},
                            {"--hangup-after", &rec.hangup_after, 0, kBlockCount - 1},
                            {"--garble-above", &rec.garble_above, 1, 10000000},
                            {"--garble-block", &rec.garble_block, 0, kBlockCount - 1},
                            {"--break-at", &rec.break_at, 0, kBlockCount - 1}};
  const std::pair<const char*, std::string*> texts[] = {
      {"--image", &options.image_file}, {"--link", &options.link_path}, {"--log", &options.log_file}};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--silent") { rec.silent = true; continue; }
    if (arg == "--no-v") { rec.answer_v = false; continue; }
    if (arg == "--short-blocks") { rec.short_blocks = true; continue; }
    if (arg == "--silent-mismatch") { rec.silent_mismatch = true; continue; }
    bool known = false;
    for (const auto& [name, target] : texts) {
      if (arg != name) continue;
      known = true;
      if (i + 1 >= argc) { error = arg + " needs a value"; return std::nullopt; }
      *target = argv[++i];
    }
    for (const Number& n : numbers) {
      if (arg != n.name) continue;
      known = true;
      if (i + 1 >= argc || !parse_int(argv[i + 1], n.min, n.max, *n.target)) {
        error = arg + " needs a number from " + std::to_string(n.min) + " to " + std::to_string(n.max);
        return std::nullopt;
      }
      ++i;
    }
    if (!known) { error = "unknown option " + arg; return std::nullopt; }
  }
  return options;
}

}  // namespace pulvitra::sim
