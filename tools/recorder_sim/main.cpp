// recorder-sim: a stand-in recorder on a pseudo-terminal, for trying the program and for the
// end-to-end tests of the device dialogues without a recorder at hand.
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "tools/recorder_sim/pty_recorder.h"
#include "tools/recorder_sim/sim_image.h"
#include "tools/recorder_sim/sim_options.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void on_stop_signal(int) { stop_requested = 1; }

// Blocks the stopping signals outside the wait and returns the mask the wait unblocks them with.
sigset_t install_stop_signals() {
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  sigset_t stopping, previous;
  sigemptyset(&stopping);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    sigaction(sig, &action, nullptr);
    sigaddset(&stopping, sig);
  }
  std::signal(SIGPIPE, SIG_IGN);
  sigprocmask(SIG_BLOCK, &stopping, &previous);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigdelset(&previous, sig);
  return previous;
}

// A real recorder is its own hardware and answers within a millisecond whatever the PC is
// doing; a simulator starved by a busy machine would miss the program's 50 ms block wait.
// The simulator sleeps in poll() between bytes, so a real-time or raised priority costs
// nothing. Where neither is allowed it runs as it is.
std::string raise_priority() {
  sched_param param{};
  param.sched_priority = 1;
  if (sched_setscheduler(0, SCHED_FIFO, &param) == 0) return "real-time priority";
  if (setpriority(PRIO_PROCESS, 0, -10) == 0) return "raised priority";
  return "normal priority";
}

int fail(const std::string& text) {
  std::fprintf(stderr, "recorder-sim: %s\n", text.c_str());
  return 1;
}

// Replaces an old link of ours; refuses to overwrite anything that is not a symlink.
bool make_link(const std::string& link, const std::string& target, std::string& error) {
  struct stat info {};
  if (lstat(link.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode)) {
      error = link + " exists and is not a symbolic link";
      return false;
    }
    unlink(link.c_str());
  }
  if (symlink(target.c_str(), link.c_str()) != 0) {
    error = "cannot create " + link + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pulvitra::sim;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kSimUsage, stdout);
      return 0;
    }
  }
  std::string error;
  const auto options = parse_sim_options(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "recorder-sim: %s\n%s", error.c_str(), kSimUsage);
    return 2;
  }
  std::vector<std::uint8_t> image = options->image_file.empty() ? generated_image()
                                                                : load_image(options->image_file, error);
  if (image.empty()) return fail(error);
  SimLog log;
  if (!options->log_file.empty() && !log.open(options->log_file)) return fail("cannot write " + options->log_file);

  const sigset_t wait_mask = install_stop_signals();
  PtyRecorder recorder(RecorderModel(options->recorder, std::move(image)), log);
  if (!recorder.open(error)) return fail(error);
  if (!options->link_path.empty() && !make_link(options->link_path, recorder.slave_path(), error)) return fail(error);
  std::printf("%s\n", recorder.slave_path().c_str());
  std::fflush(stdout);
  const std::string priority = raise_priority();
  log.note("serving " + (options->image_file.empty() ? std::string("a generated recording") : options->image_file) +
           " on " + recorder.slave_path() + " at " + priority);

  recorder.run(stop_requested, wait_mask);
  if (!options->link_path.empty()) unlink(options->link_path.c_str());
  return 0;
}
