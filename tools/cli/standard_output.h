// Standard output is the result of most commands: a full disk or a closed pipe behind it is a
// failure, never an exit 0 with half the output. The commands write their result through here,
// and the program checks what arrived before it ends.
#pragma once

#include <string_view>

namespace pulvitra::cli {

// Writes bytes to standard output; a failure is kept with the system's reason.
void write_standard_output(std::string_view bytes);

// Flushes standard output. Returns exit_code when everything written arrived; otherwise prints
// "cannot write standard output: REASON" and returns 1 (or exit_code when that already failed).
int checked_standard_output(int exit_code);

}  // namespace pulvitra::cli
