#include "tools/recorder_sim/line_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

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

namespace {

// A byte at the wrong rate or with a bad stop bit reads as some other value, never as zero
// (a zero with a framing error is how a break shows).
std::uint8_t garbled(std::uint8_t byte) { return static_cast<std::uint8_t>((byte ^ 0x5A) | 0x01); }

// Long enough for the terminal to pass the bytes to its reader's queue.
constexpr long kPassNs = 3'000'000;

}  // namespace

std::vector<std::uint8_t> spoiled_input(int fd, const std::vector<std::uint8_t>& bytes, bool is_break) {
  struct termios2 settings {};
  if (ioctl(fd, TCGETS2, &settings) != 0) return {};
  const tcflag_t flags = settings.c_iflag;
  const bool marking = (flags & PARMRK) != 0;
  std::vector<std::uint8_t> out;
  if (is_break) {
    if ((flags & (IGNBRK | BRKINT)) != 0) return out;
    if (marking) out = {0377, 0};
    out.push_back(0);
    return out;
  }
  if ((flags & INPCK) == 0) {
    for (std::uint8_t byte : bytes) out.push_back(garbled(byte));
    return out;
  }
  if ((flags & IGNPAR) != 0) return out;
  for (std::uint8_t byte : bytes) {
    if (marking) {
      out.push_back(0377);
      out.push_back(0);
      out.push_back(garbled(byte));
    } else {
      out.push_back(0);
    }
  }
  return out;
}

long write_unmarked(int master, int slave, const std::vector<std::uint8_t>& bytes) {
  struct termios2 settings {};
  const bool paused = ioctl(slave, TCGETS2, &settings) == 0 && (settings.c_iflag & PARMRK) != 0;
  if (paused) {
    settings.c_iflag &= ~PARMRK;
    ioctl(slave, TCSETS2, &settings);
  }
  const long written = static_cast<long>(::write(master, bytes.data(), bytes.size()));
  if (paused) {
    const timespec pass{0, kPassNs};
    nanosleep(&pass, nullptr);
    // The program may have set its line anew meanwhile: put back only the marking.
    if (ioctl(slave, TCGETS2, &settings) == 0) {
      settings.c_iflag |= PARMRK;
      ioctl(slave, TCSETS2, &settings);
    }
  }
  return written;
}

}  // namespace pulvitra::sim
