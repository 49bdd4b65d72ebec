#include "fuzz/virtual_clock.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include "fuzz/fuzz_targets.h"

namespace pulvitra::fuzz {

namespace {
// The longest honest run: a complete upload at 12800 baud takes 33 s; every wait is bounded.
constexpr qint64 kLongestRunNs = 600'000'000'000;
}  // namespace

bool VirtualClockDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
  interrupted_ = false;
  emit awake();
  bool did_something = false;
  while (woken_.exchange(false)) {
    QCoreApplication::sendPostedEvents();
    did_something = true;
    if (interrupted_) return true;
  }
  if (fire_due()) return true;
  if (did_something || !(flags & QEventLoop::WaitForMoreEvents)) return did_something;
  // Nothing to do now: the clock moves on to the earliest timer.
  if (timers_.empty()) {
    // A dialogue that waits with no timer running would wait for ever.
    require(++idle_without_timers_ < 1000, "a waiting dialogue always has a timeout running");
    return false;
  }
  qint64 earliest = timers_.begin()->second.due_ns;
  for (const auto& [id, timer] : timers_) earliest = std::min(earliest, timer.due_ns);
  now_ns_ = std::max(now_ns_, earliest);
  require(now_ns_ < kLongestRunNs, "the three dialogues end within ten minutes of the recorder's time");
  return fire_due();
}

bool VirtualClockDispatcher::fire_due() {
  auto chosen = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due_ns > now_ns_) continue;
    if (chosen == timers_.end() || it->second.due_ns < chosen->second.due_ns ||
        (it->second.due_ns == chosen->second.due_ns && it->second.order < chosen->second.order))
      chosen = it;
  }
  if (chosen == timers_.end()) return false;
  const int id = chosen->first;
  QObject* object = chosen->second.object;
  // Re-armed before the event, as a periodic system timer is; a late one keeps its period.
  Timer& timer = chosen->second;
  timer.due_ns += timer.interval_ns;
  if (timer.due_ns <= now_ns_) timer.due_ns = now_ns_ + timer.interval_ns;
  timer.order = next_order_++;
  QTimerEvent event(id);
  QCoreApplication::sendEvent(object, &event);
  return true;
}

void VirtualClockDispatcher::registerTimer(int timer_id, qint64 interval_ms, Qt::TimerType type, QObject* object) {
  const qint64 interval_ns = interval_ms * 1'000'000;
  timers_[timer_id] = Timer{interval_ns, now_ns_ + interval_ns, next_order_++, type, object};
}

bool VirtualClockDispatcher::unregisterTimer(int timer_id) { return timers_.erase(timer_id) > 0; }

bool VirtualClockDispatcher::unregisterTimers(QObject* object) {
  bool any = false;
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.object == object) {
      it = timers_.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

QList<QAbstractEventDispatcher::TimerInfo> VirtualClockDispatcher::registeredTimers(QObject* object) const {
  QList<TimerInfo> list;
  for (const auto& [id, timer] : timers_)
    if (timer.object == object) list << TimerInfo(id, static_cast<int>(timer.interval_ns / 1'000'000), timer.type);
  return list;
}

int VirtualClockDispatcher::remainingTime(int timer_id) {
  const auto it = timers_.find(timer_id);
  if (it == timers_.end()) return -1;
  return static_cast<int>(std::max<qint64>(0, it->second.due_ns - now_ns_) / 1'000'000);
}

}  // namespace pulvitra::fuzz
