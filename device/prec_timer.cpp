#include "device/prec_timer.h"

namespace pulvitra {

TPrecTimer::TPrecTimer(QObject* parent) : QObject(parent) {
  clock_.start();
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TPrecTimer::tick);
  restart();
}

void TPrecTimer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  restart();
}

void TPrecTimer::setInterval(std::uint32_t ms) {
  if (ms < kMinPeriod || ms > kMaxPeriod || ms == interval_) return;
  interval_ = ms;
  restart();
}

void TPrecTimer::setResolution(std::uint32_t ms) {
  if (ms > interval_ || ms == resolution_) return;
  resolution_ = ms;
  restart();
}

void TPrecTimer::setPeriodic(bool periodic) {
  if (periodic == periodic_) return;
  periodic_ = periodic;
  restart();
}

void TPrecTimer::restart() {
  timer_.stop();
  timer_.setSingleShot(!periodic_);
  timer_.setInterval(static_cast<int>(interval_));
  timer_.start();
}

void TPrecTimer::tick() {
  ++ticks_;
  if (enabled_ && OnTimer) OnTimer(static_cast<std::uint32_t>(clock_.elapsed()));
}

}  // namespace pulvitra
