// The simulator's log: every chunk it received with the line rate it saw, and what the
// recorder made of it. Each line starts with the seconds since the simulator started.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pulvitra::sim {

class SimLog {
 public:
  SimLog() = default;
  SimLog(const SimLog&) = delete;
  SimLog& operator=(const SimLog&) = delete;
  ~SimLog();

  // Starts writing to path; without a call the log stays silent. Returns false on failure.
  bool open(const std::string& path);

  // A chunk read from the line. intact: the line's rate agreed with the recorder's.
  void received(int line_rate, int recorder_rate, const std::uint8_t* bytes, std::size_t count, bool intact);
  void note(const std::string& text);

 private:
  void line(const std::string& text);

  std::FILE* file_ = nullptr;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace pulvitra::sim
