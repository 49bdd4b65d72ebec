#include "tools/recorder_sim/line_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace pulvitra::sim {

int line_rate(int fd) {
  struct termios2 settings {};
  if (ioctl(fd, TCGETS2, &settings) != 0) return -1;
  // The kernel keeps c_ospeed in step with the rate, also for the fixed Bnnnn codes.
  return static_cast<int>(settings.c_ospeed);
}

bool set_raw_line(int fd, int rate) {
  struct termios2 settings {};
  if (ioctl(fd, TCGETS2, &settings) != 0) return false;
  // Raw bytes both ways: no echo, no line editing, no CR/NL mapping, no flow control. An echo
  // would hand the simulator its own replies back as commands.
  settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
  settings.c_oflag &= ~OPOST;
  settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
  settings.c_ispeed = static_cast<speed_t>(rate);
  settings.c_ospeed = static_cast<speed_t>(rate);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return ioctl(fd, TCSETS2, &settings) == 0;
}

}  // namespace pulvitra::sim
