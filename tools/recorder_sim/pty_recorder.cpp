#include "tools/recorder_sim/pty_recorder.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "tools/recorder_sim/line_rate.h"

namespace pulvitra::sim {

namespace {

// Until the program sets its rate the line is at a rate no dialogue uses, so nothing it sent
// before could be taken for a command.
constexpr int kIdleLineRate = 9600;
constexpr int kBackOffMs = 20;

}  // namespace

PtyRecorder::PtyRecorder(RecorderModel model, SimLog& log) : model_(std::move(model)), log_(log) {}

PtyRecorder::~PtyRecorder() { hang_up(); }

bool PtyRecorder::open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ptsname(master_);
  if (name == nullptr) {
    error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  slave_path_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0 || !set_raw_line(slave_, kIdleLineRate)) {
    error = "cannot set up " + slave_path_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void PtyRecorder::run(const volatile std::sig_atomic_t& stop, const sigset_t& wait_mask) {
  while (stop == 0) {
    pollfd fd{master_, POLLIN, 0};
    // A line that reports trouble instead of bytes is looked at again a little later, so a
    // fault cannot turn this loop into a busy one.
    const int timeout_ms = backing_off_ ? kBackOffMs : wait_timeout_ms();
    timespec timeout{timeout_ms / 1000, (timeout_ms % 1000) * 1000000L};
    const bool watch_line = !hung_up_ && !backing_off_;
    backing_off_ = false;
    const int ready = ppoll(&fd, watch_line ? 1 : 0, timeout_ms < 0 ? nullptr : &timeout, &wait_mask);
    if (ready < 0 && errno != EINTR) {
      log_.note(std::string("poll failed: ") + std::strerror(errno));
      return;
    }
    if (stop != 0) break;
    if (watch_line && ready > 0) {
      if ((fd.revents & POLLIN) != 0) read_line();
      if ((fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) backing_off_ = true;
    }
    send_due_replies();
  }
}

int PtyRecorder::wait_timeout_ms() const {
  if (pending_.empty()) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(pending_.front().due - Clock::now());
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

void PtyRecorder::read_line() {
  std::uint8_t chunk[4096];
  const ssize_t count = ::read(master_, chunk, sizeof chunk);
  if (count <= 0) {
    backing_off_ = count == 0 || errno != EAGAIN;
    return;
  }
  const int line_rate = sim::line_rate(slave_);
  const bool intact = rates_agree(line_rate);
  log_.received(line_rate, model_.rate(), chunk, static_cast<std::size_t>(count), intact);
  for (ssize_t i = 0; i < count && !hung_up_; ++i) {
    if (!intact) {
      model_.garbled();
      continue;
    }
    act(model_.receive(chunk[i]));
  }
}

void PtyRecorder::act(const std::vector<RecorderAction>& actions) {
  for (const RecorderAction& action : actions) {
    if (action.kind == RecorderAction::kNote) {
      log_.note(action.text);
    } else if (action.kind == RecorderAction::kHangup) {
      log_.note(action.text);
      hang_up();
      return;
    } else {
      // Replies leave in the order they were asked for, one after the other, each taking
      // the line time of 10 bits per byte at the recorder's rate.
      const auto asked = Clock::now() + std::chrono::milliseconds(action.delay_ms);
      const std::size_t bits = 10 * std::max<std::size_t>(action.bytes.size(), 1);
      const auto line_time = std::chrono::microseconds(bits * 1000000 / static_cast<std::size_t>(model_.rate()));
      const auto due = std::max(asked, line_free_) + line_time;
      line_free_ = due;
      pending_.push_back({due, action.bytes, action.text, action.garbled, action.kind == RecorderAction::kBreak});
    }
  }
  send_due_replies();
}

void PtyRecorder::send_due_replies() {
  while (!hung_up_ && !pending_.empty() && pending_.front().due <= Clock::now()) {
    write_line(pending_.front());
    pending_.pop_front();
  }
}

void PtyRecorder::write_line(const PendingReply& reply) {
  // The program may have changed its rate while a delayed reply waited.
  const int line_rate = sim::line_rate(slave_);
  if (!rates_agree(line_rate)) {
    if (model_.config().silent_mismatch) {
      log_.note("tx " + reply.text + " lost: line at " + std::to_string(line_rate) + " baud");
      return;
    }
    write_spoiled(reply, "garbled: line at " + std::to_string(line_rate) + " baud");
    return;
  }
  if (reply.is_break) {
    write_spoiled(reply, "on the line");
    return;
  }
  if (reply.garbled) {
    write_spoiled(reply, "garbled");
    return;
  }
  const ssize_t written = ::write(master_, reply.bytes.data(), reply.bytes.size());
  if (written == static_cast<ssize_t>(reply.bytes.size())) {
    log_.note("tx " + reply.text);
  } else {
    log_.note("tx " + reply.text + " cut short: the program does not read the line");
  }
}

void PtyRecorder::write_spoiled(const PendingReply& reply, const std::string& why) {
  // What the program's serial driver would make of it, as it has set its line up.
  const std::vector<std::uint8_t> seen = spoiled_input(slave_, reply.bytes, reply.is_break);
  const long written = seen.empty() ? 0 : write_unmarked(master_, slave_, seen);
  log_.note("tx " + reply.text + " " + why + " (" + std::to_string(written) + " bytes reach the program)");
}

bool PtyRecorder::rates_agree(int line_rate) const {
  // A UART tolerates about 2 % between the two ends; stay well inside that.
  const int recorder_rate = model_.rate();
  return line_rate > 0 && std::abs(line_rate - recorder_rate) * 100 <= recorder_rate;
}

void PtyRecorder::hang_up() {
  pending_.clear();
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
  hung_up_ = true;
}

}  // namespace pulvitra::sim
