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

TEST(PrecTimer, created_periodic_at_1000_ms_and_enabled) {
  TPrecTimer timer;
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_EQ(timer.Resolution(), 1u);
  EXPECT_TRUE(timer.Periodic());
  EXPECT_TRUE(timer.Enabled());
}

TEST(PrecTimer, keeps_ticking_while_disabled_without_calling_the_handler) {
  TPrecTimer timer;
  int handled = 0;
  timer.OnTimer = [&](std::uint32_t) { ++handled; };
  timer.setEnabled(false);
  timer.setInterval(2);
  run_events_for(40);
  EXPECT_GT(timer.ticks(), 3u);
  EXPECT_EQ(handled, 0);
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

TEST(PrecTimer, ignores_settings_outside_the_limits) {
  TPrecTimer timer;
  timer.setInterval(8);
  timer.setInterval(0);
  EXPECT_EQ(timer.Interval(), 8u);
  timer.setResolution(9);  // coarser than the interval
  EXPECT_EQ(timer.Resolution(), 1u);
  timer.setResolution(2);
  EXPECT_EQ(timer.Resolution(), 2u);
}

}  // namespace
}  // namespace pulvitra
