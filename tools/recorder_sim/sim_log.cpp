#include "tools/recorder_sim/sim_log.h"

namespace pulvitra::sim {

SimLog::~SimLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool SimLog::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void SimLog::received(int line_rate, int recorder_rate, const std::uint8_t* bytes, std::size_t count,
                      bool intact) {
  if (file_ == nullptr) return;
  std::string text = "rx " + std::to_string(line_rate) + " baud:";
  char hex[4];
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes[i];
    if (b >= 0x21 && b < 0x7F) {
      text += ' ';
      text += static_cast<char>(b);
    } else {
      std::snprintf(hex, sizeof hex, " %02X", b);
      text += hex;
    }
  }
  if (!intact) text += "  (recorder at " + std::to_string(recorder_rate) + " baud: garbled, ignored)";
  line(text);
}

void SimLog::note(const std::string& text) {
  if (file_ != nullptr) line("   " + text);
}

void SimLog::line(const std::string& text) {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  // Flushed at once, so a reader sees the log of a simulator that is still running.
  std::fprintf(file_, "%11.6f %s\n", seconds, text.c_str());
  std::fflush(file_);
}

}  // namespace pulvitra::sim
