// An event dispatcher whose timers run on a clock the fuzz target owns: when nothing is left to
// do, the clock jumps to the next timer, so the link's waits (60 ms, 200 ms, 5 s) cost no real
// time and every run of the same bytes takes the same course. Install it on a thread before
// the thread starts; the link reads the same clock through its now_ns.
#pragma once

#include <QAbstractEventDispatcher>
#include <atomic>
#include <cstdint>
#include <map>

namespace pulvitra::fuzz {

class VirtualClockDispatcher final : public QAbstractEventDispatcher {
 public:
  // The clock in ns; it starts at 0 and only moves forward.
  qint64 now_ns() const { return now_ns_; }

  bool processEvents(QEventLoop::ProcessEventsFlags flags) override;
  void registerSocketNotifier(QSocketNotifier*) override {}
  void unregisterSocketNotifier(QSocketNotifier*) override {}
  void registerTimer(int timer_id, qint64 interval_ms, Qt::TimerType type, QObject* object) override;
  bool unregisterTimer(int timer_id) override;
  bool unregisterTimers(QObject* object) override;
  QList<TimerInfo> registeredTimers(QObject* object) const override;
  int remainingTime(int timer_id) override;
  void wakeUp() override { woken_ = true; }
  void interrupt() override { interrupted_ = true; }

 private:
  struct Timer {
    qint64 interval_ns;
    qint64 due_ns;
    std::uint64_t order;  // timers due at the same moment fire in the order they were started
    Qt::TimerType type;
    QObject* object;
  };
  // Fires the earliest timer due by now; false when none is.
  bool fire_due();

  std::map<int, Timer> timers_;
  qint64 now_ns_ = 0;
  std::uint64_t next_order_ = 0;
  std::atomic<bool> woken_{false};
  bool interrupted_ = false;
  int idle_without_timers_ = 0;
};

}  // namespace pulvitra::fuzz
