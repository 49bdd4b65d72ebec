// The line settings of the simulator's pseudo-terminal. The program on the other side sets
// its rate on the slave; the simulator reads it back to decide whether the two ends of the
// line agree. Kept apart from <termios.h> users: the custom-rate calls need the kernel's own
// termios2 declarations, which clash with the C library's.
#pragma once

#include <cstdint>
#include <vector>

namespace pulvitra::sim {

// The output rate in baud currently set on the terminal behind fd (a pty master reports the
// slave's settings), or -1 when it cannot be read.
int line_rate(int fd);

// Puts the terminal behind fd into raw 8N1 mode without echo at the given rate (any integer
// rate). Returns false when the terminal refuses.
bool set_raw_line(int fd, int rate);

// What a serial driver set up like the terminal behind fd hands its reader for bytes that
// arrived with framing errors (or, with is_break, for a break on the line): 0377 0 x per byte
// with the error marking (INPCK and PARMRK), a zero byte with INPCK alone, nothing with
// IGNPAR, else the garbled bytes themselves.
std::vector<std::uint8_t> spoiled_input(int fd, const std::vector<std::uint8_t>& bytes, bool is_break);

// Writes bytes into the terminal as they are. A terminal with the error marking doubles every
// 0377 written into it; the marking is paused on the slave until the bytes have passed.
// Returns the number of bytes written.
long write_unmarked(int master, int slave, const std::vector<std::uint8_t>& bytes);

}  // namespace pulvitra::sim
