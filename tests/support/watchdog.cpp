#include "tests/support/watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace pulvitra::test {

Watchdog::Watchdog(std::chrono::milliseconds limit, std::string what) {
  thread_ = std::thread([this, limit, what = std::move(what)] {
    std::unique_lock lock(mutex_);
    if (ended_.wait_for(lock, limit, [this] { return done_; })) return;
    std::fprintf(stderr, "FAILED: %s did not end within %lld ms\n", what.c_str(),
                 static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  ended_.notify_one();
  thread_.join();
}

}  // namespace pulvitra::test
