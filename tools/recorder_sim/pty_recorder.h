// The simulated recorder on a pseudo-terminal: the program opens the slave side as its serial
// port, the simulator reads and writes the master side. Bytes reach the recorder only while
// the slave is set to the recorder's own rate, as on a real line, where differing rates turn
// every byte into noise; replies sent into a line at another rate reach the program garbled,
// marked as the program's serial driver would mark them.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "tools/recorder_sim/recorder_model.h"
#include "tools/recorder_sim/sim_log.h"

namespace pulvitra::sim {

class PtyRecorder {
 public:
  PtyRecorder(RecorderModel model, SimLog& log);
  ~PtyRecorder();
  PtyRecorder(const PtyRecorder&) = delete;
  PtyRecorder& operator=(const PtyRecorder&) = delete;

  // Creates the pseudo-terminal. On failure returns false and sets error.
  bool open(std::string& error);
  const std::string& slave_path() const { return slave_path_; }

  // Serves the line until stop becomes non-zero. The caller blocks the stopping signals and
  // passes the mask to wait with, so a signal can only arrive inside the wait.
  void run(const volatile std::sig_atomic_t& stop, const sigset_t& wait_mask);

 private:
  using Clock = std::chrono::steady_clock;
  struct PendingReply {
    Clock::time_point due;
    std::vector<std::uint8_t> bytes;
    std::string text;
    bool garbled = false;
    bool is_break = false;
  };

  int wait_timeout_ms() const;
  void read_line();
  void act(const std::vector<RecorderAction>& actions);
  void send_due_replies();
  void write_line(const PendingReply& reply);
  void write_spoiled(const PendingReply& reply, const std::string& why);
  bool rates_agree(int line_rate) const;
  void hang_up();

  RecorderModel model_;
  SimLog& log_;
  int master_ = -1;
  int slave_ = -1;  // held open so the line does not hang up between two opens by the program
  std::string slave_path_;
  std::deque<PendingReply> pending_;
  bool hung_up_ = false;
  bool backing_off_ = false;  // the line reported an error; wait a moment before reading again
  Clock::time_point line_free_{};  // when the recorder's transmitter has sent its last reply
};

}  // namespace pulvitra::sim
