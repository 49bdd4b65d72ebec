// The link to the recorder: the few primitives every scripted dialogue is built from (send a
// command, wait a fixed time or until enough reply bytes have arrived, read them byte by byte),
// the receive buffer they share, the identification handshake, the port and rate choice, and
// the status log ComStat.
//
// Every wait is a coroutine step (co_await) on the one event loop: the window stays
// responsive, and received bytes, pacing ticks and clicks are handled while a dialogue waits.
// Each wait has a deadline of its own and lasts at least as long as asked. Only one dialogue
// holds the link at a time (claim / release); a second one does not start while it runs.
// Everything runs on the GUI thread.
// Take the result of a co_await into a variable of its own before testing it: this compiler
// (GCC 12) mishandles a co_await inside an if condition or a larger expression.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QCoroTask>
#include <array>
#include <coroutine>
#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

#include "device/link_host.h"
#include "device/port_interface.h"
#include "device/prec_timer.h"
#include "recording/recorder_rates.h"

namespace pulvitra {

// The rates above the base rate of 4800 baud, in the order they are tried: the recorder's
// rate table without its codes and pacing.
inline constexpr std::array<std::int32_t, kRecorderRates.size()> BaudTable = [] {
  std::array<std::int32_t, kRecorderRates.size()> rates{};
  for (std::size_t i = 0; i < rates.size(); ++i) rates[i] = kRecorderRates[i].baud;
  return rates;
}();
inline constexpr std::int32_t kBaseBaud = 4800;
inline constexpr std::uint8_t kFirstBaudCode = kRecorderRates.front().code;
// What the recorder answers to "V" (a big-endian number) and to "g" CR.
inline constexpr int kLowestVersion = 353;
inline constexpr int kHighestVersion = 999;
inline constexpr std::uint8_t kAliveAnswer = 0xFB;

// The link only works with port names of the form COMn, n = 1..8.
bool valid_port_name(const QString& name);

// The rate code the recorder is sent after "B" for a rate of BaudTable; 0 for another rate.
std::uint8_t baud_code(std::int32_t rate);

// The dialogues that hold the link while they run.
enum class Dialogue { None, Upload, DeviceTest, RateTest, PortChoice };

// The rate selector CB_MaxBaud as the link sees it: a list of rate texts and a shown text.
class BaudSelector {
 public:
  virtual ~BaudSelector() = default;
  virtual void clear() = 0;
  virtual void add(const QString& item) = 0;
  virtual int count() const = 0;
  virtual QString item(int index) const = 0;  // "" outside the list
  virtual QString text() const = 0;
  virtual void set_text(const QString& text) = 0;
  virtual void select(int index) = 0;
};

// A BaudSelector without a window, for tests and headless use.
class BaudList final : public BaudSelector {
 public:
  void clear() override { items.clear(); }
  void add(const QString& item) override { items << item; }
  int count() const override { return static_cast<int>(items.size()); }
  QString item(int index) const override { return index >= 0 && index < count() ? items[index] : QString(); }
  QString text() const override { return shown; }
  void set_text(const QString& text) override { shown = text; }
  void select(int index) override { selected = index; }

  QStringList items;
  QString shown;
  int selected = -1;
};

class Link : public QObject {
  Q_OBJECT
 public:
  // pul_com: the port; Timer1: the window's wait timer; port_name: the selected port
  // ("COM1".."COM8" or "xxxx"), which the window saves. All must outlive the link.
  Link(PortInterface& pul_com, QTimer& Timer1, QString& port_name, QObject* parent = nullptr);

  PortInterface& pul_com;
  QTimer& Timer1;
  QString& port_name;
  TPrecTimer PrecTimer1;  // paces block requests; created periodic at 1000 ms, ticks harmless

  QByteArray RxBuffer;          // received and not yet consumed
  bool TimeoutElapsed = true;   // false while the last armed timeout runs
  bool CommError = false;       // set by a line error
  bool PacingActive = false;    // while set, every PrecTimer1 tick sends "s"
  std::int32_t MaxBaud = 12800; // highest rate the upload may use

  // What went wrong on the line, for the log of a failed upload: the line errors reported
  // (LineErrorFlag bits), the last port error caught by the link with its system error number,
  // and whether the last identification heard any reply at all (silence, or a device that
  // answers but not as the recorder).
  int line_errors_seen = 0;
  QString port_error_text;
  int port_error_number = 0;
  bool handshake_heard = false;
  void forget_line_trouble();
  void note_port_error(const std::exception& e);

  // The monotonic time in ns that the waits and the pacing count in: the steady clock, unless
  // a test or a fuzz target that drives the event loop on a clock of its own sets another
  // (before the first dialogue).
  std::function<qint64()> now_ns;

  // The window around the link (lock, unlock, report, tick); headless until one is set.
  // The host must outlive the link.
  void set_host(LinkHost& host) { host_ = &host; }
  LinkHost& host() const { return *host_; }

  // The log ComStat: lines are appended; some operations clear it.
  const QStringList& com_stat() const { return com_stat_; }
  void com_stat_add(const QString& line);
  void com_stat_clear();

  // The one dialogue at a time. claim is false (and changes nothing) while another dialogue
  // holds the link; release ends the holding and runs what wind_down asked for.
  bool claim(Dialogue dialogue);
  void release();
  Dialogue dialogue() const { return dialogue_; }
  bool busy() const { return dialogue_ != Dialogue::None; }
  // The window is closing: the running dialogue ends at its next step, quietly and properly
  // (the recorder is told "t", the port returns to 4800 baud); then when_idle is called.
  // Idle: when_idle is called at once.
  void wind_down(std::function<void()> when_idle);
  bool winding_down() const { return winding_down_; }

  // Block requests: from start_pacing on, every tick of PrecTimer1 sends "s" (a tick that
  // came late lets the next one send a second "s", so the pace keeps to its schedule).
  void start_pacing(std::uint32_t interval_ms);
  void stop_pacing();
  // How many "s" the pacing wrote since start_pacing.
  int requests_sent() const { return static_cast<int>(request_written_ns_.size()); }
  // True as soon as RxBuffer holds n bytes, false when they did not come within ms of the
  // moment request number `request` (0-based) was written — or of the call, when that was
  // later. A request the pacing never writes (it stopped) is false.
  QCoro::Task<bool> v24_avail_reply(int request, std::uint16_t ms, std::uint16_t n);

  void v24_start_timeout(std::uint16_t ms);
  void Timer1Timer();
  QCoro::Task<> v24_wait(std::uint16_t ms);
  // True as soon as RxBuffer holds at least n bytes (at once when it already does); false
  // when ms pass first.
  QCoro::Task<bool> v24_avail(std::uint16_t ms, std::uint16_t n);
  void v24_clear();
  // Writes the bytes (zero bytes included); an empty text writes nothing. A port that is not
  // open raises EComPort "WriteFile function failed".
  void v24_send(const QByteArray& text);
  // Takes the first byte of RxBuffer (0 when it is empty).
  std::uint8_t v24_read_byte();
  // (Re)opens the port at rate; callers see the outcome in pul_com.connected().
  QCoro::Task<> v24_open(std::int32_t rate);
  // Closes, reselects the port by port_name and opens it at 4800 baud.
  QCoro::Task<> v24_reset();
  // Identifies the recorder: up to 3 attempts of "V" (version 353..999) or, without a 2-byte
  // reply, "g" CR (answer 0xFB).
  QCoro::Task<bool> v24_handshake();

  void pul_comRxChar(int count);
  void pul_comError(int errors);
  void PrecTimer1Timer(std::uint32_t time);

  // Another port was picked: lists the rates the port accepts in CB_MaxBaud and leaves the
  // port open at 4800 baud.
  QCoro::Task<> select_port(const QString& text, BaudSelector& CB_MaxBaud);
  // A rate was picked or typed; text that is not a number leaves MaxBaud as it is.
  void select_rate(const QString& text);

  // Shows an error that ends a dialogue, through the host.
  void report(const QString& text) const;

  // Runs a dialogue to its end; an error escaping it (a port failure) is reported.
  // For handlers that start a dialogue and do not wait for it.
  static QCoro::Task<> run_reporting(Link& link, QCoro::Task<> dialogue);

 signals:
  void com_stat_line_added(const QString& line);
  void com_stat_cleared();

 private:
  // Suspends the waiting dialogue until something it may be waiting for happens: the timeout
  // fires or bytes arrive. Resumed directly from that event, so no stale wake-up can reach a
  // dialogue that has moved on.
  struct NextEvent {
    Link& link;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting) { link.waiting_.push_back(waiting); }
    void await_resume() const noexcept {}
  };
  NextEvent next_event() { return NextEvent{*this}; }
  void wake_waiting();
  // Waits until done() or the deadline (on now_ns) passes; done is asked after every event.
  QCoro::Task<> wait_for(qint64 deadline_ns, std::function<bool()> done);
  qint64 deadline_in(qint64 ms) const { return now_ns() + ms * 1'000'000; }
  void send_requests(int count);

  HeadlessLinkHost headless_host_;
  LinkHost* host_ = &headless_host_;
  QStringList com_stat_;
  std::vector<std::coroutine_handle<>> waiting_;
  Dialogue dialogue_ = Dialogue::None;
  bool winding_down_ = false;
  std::function<void()> when_idle_;
  QElapsedTimer clock_;
  qint64 pacing_start_ns_ = -1;       // < 0: not paced by start_pacing
  qint64 pacing_interval_ns_ = 0;
  int forgiven_requests_ = 0;         // requests of a long stall that are not made up
  bool caught_up_last_tick_ = false;
  std::vector<qint64> request_written_ns_;
};

// The log line of v24_open: port name, a blank, the rate and " baud".
QString baud_line(const QString& port_name, std::int32_t rate);

}  // namespace pulvitra
