// The command line of recorder-sim.
#pragma once

#include <optional>
#include <string>

#include "tools/recorder_sim/recorder_model.h"

namespace pulvitra::sim {

struct SimOptions {
  std::string image_file;  // a .pul file to serve; empty: a generated recording
  std::string link_path;   // a symlink to the slave device, made at start, removed at exit
  std::string log_file;    // what was received, with timestamps and line rates
  RecorderConfig recorder;
};

inline constexpr const char* kSimUsage =
    "Usage: recorder-sim [--image FILE.pul] [--link PATH] [--log FILE] [--version N] [--silent]\n"
    "                    [--no-v] [--max-rate R] [--drop-block K] [--stall-ms MS]\n"
    "                    [--short-blocks] [--hangup-after K] [--garble-above R]\n"
    "                    [--garble-block K] [--break-at K] [--silent-mismatch]\n"
    "A simulated recorder on a pseudo-terminal. Prints the terminal's path as its first line\n"
    "and runs until it is terminated. Replies take the line time of 10 bits per byte; a reply\n"
    "sent while the program's end runs at another rate arrives garbled (lost with\n"
    "--silent-mismatch); --garble-above, --garble-block and --break-at spoil the line.\n";

// Parses argv[1..]; on a mistake returns nothing and sets error to a one-line explanation.
std::optional<SimOptions> parse_sim_options(int argc, char** argv, std::string& error);

}  // namespace pulvitra::sim
