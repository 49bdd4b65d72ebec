// The precision timer that paces block requests: 1-ms resolution, periodic down to 2 ms,
// ticks delivered on the GUI thread. Changing any property restarts the timer with the
// current settings (one-shot when not periodic). The timer runs whether Enabled or not;
// Enabled only decides whether a tick reaches OnTimer — so after pacing, switching to
// one-shot and disabled lets one last tick arrive, which is ignored.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace pulvitra {

class TPrecTimer : public QObject {
  Q_OBJECT
 public:
  static constexpr std::uint32_t kMinPeriod = 1;
  static constexpr std::uint32_t kMaxPeriod = 1000000;

  explicit TPrecTimer(QObject* parent = nullptr);

  bool Enabled() const { return enabled_; }
  std::uint32_t Interval() const { return interval_; }
  std::uint32_t Resolution() const { return resolution_; }
  bool Periodic() const { return periodic_; }

  void setEnabled(bool enabled);
  // An interval outside 1..1000000 ms is ignored.
  void setInterval(std::uint32_t ms);
  // A resolution above the interval is ignored.
  void setResolution(std::uint32_t ms);
  void setPeriodic(bool periodic);

  // Called with the time of the tick in ms (milliseconds since the timer was created) for
  // every tick while Enabled.
  std::function<void(std::uint32_t time)> OnTimer;

  // Ticks of the system timer so far, delivered to OnTimer or not.
  std::uint64_t ticks() const { return ticks_; }

 private:
  void restart();
  void tick();

  QTimer timer_;
  QElapsedTimer clock_;
  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  std::uint32_t resolution_ = kMinPeriod;
  bool periodic_ = true;
  std::uint64_t ticks_ = 0;
};

}  // namespace pulvitra
