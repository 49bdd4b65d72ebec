// The pacing timer: Enabled only gates the handler, and the one-shot tick after pacing.
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include "device/prec_timer.h"

namespace pulvitra {
namespace {

// Lets the event loop run without pause, as the window's does while a transfer waits.
void run_events_for(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST(PrecTimer, after_pacing_one_more_tick_arrives_and_is_ignored) {
  TPrecTimer timer;
  int handled = 0;
  timer.OnTimer = [&](std::uint32_t) { ++handled; };
  timer.setResolution(1);
  timer.setInterval(4);
  timer.setEnabled(true);
  timer.setPeriodic(true);
  run_events_for(40);
  EXPECT_GT(handled, 3);
  const int handled_while_pacing = handled;
  timer.setEnabled(false);
  timer.setPeriodic(false);
  const std::uint64_t ticks_after_pacing = timer.ticks();
  run_events_for(40);
  EXPECT_EQ(timer.ticks(), ticks_after_pacing + 1);
  EXPECT_EQ(handled, handled_while_pacing);
}

}  // namespace
}  // namespace pulvitra
