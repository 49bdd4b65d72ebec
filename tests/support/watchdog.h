// Turns a hang into a failure: a test that could block for good (a read that waits on a named
// pipe) holds a Watchdog over the risky part. When the part has not ended in time, the
// watchdog names it on stderr and ends the test program, instead of leaving the test run
// waiting until its overall timeout — or a read of /dev/zero eating the machine's memory.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace pulvitra::test {

class Watchdog {
 public:
  Watchdog(std::chrono::milliseconds limit, std::string what);
  ~Watchdog();  // the part ended in time
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace pulvitra::test
