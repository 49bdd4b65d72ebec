// The line settings of the simulator's pseudo-terminal. The program on the other side sets
// its rate on the slave; the simulator reads it back to decide whether the two ends of the
// line agree. Kept apart from <termios.h> users: the custom-rate calls need the kernel's own
// termios2 declarations, which clash with the C library's.
#pragma once

namespace pulvitra::sim {

// The output rate in baud currently set on the terminal behind fd (a pty master reports the
// slave's settings), or -1 when it cannot be read.
int line_rate(int fd);

// Puts the terminal behind fd into raw 8N1 mode without echo at the given rate (any integer
// rate). Returns false when the terminal refuses.
bool set_raw_line(int fd, int rate);

}  // namespace pulvitra::sim
