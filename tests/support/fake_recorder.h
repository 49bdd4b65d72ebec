// A recorder inside the test process, behind the port interface: it keeps what the program
// sent, answers the commands as a recorder does, and lets a
// test choose the replies, the rates the PC's port accepts, and where the recorder stays silent.
#pragma once

#include <QByteArray>
#include <QSet>
#include <cstdint>

#include "device/port_interface.h"

namespace pulvitra::test {

class FakeRecorder final : public PortInterface {
  Q_OBJECT
 public:
  explicit FakeRecorder(QObject* parent = nullptr) : PortInterface(parent) {}

  // --- what the test sets up
  QByteArray version_reply = QByteArray("\x01\x61", 2);  // answer to "V": 353
  QByteArray alive_reply = QByteArray("\xFB", 1);        // answer to "g" CR
  QSet<std::int32_t> refused_rates;                      // the PC's port cannot open these
  QSet<std::int32_t> silent_rates;                       // no blocks at these rates
  int reply_delay_ms = 1;
  QString denied;  // the device the user may not open ("" = allowed)

  // --- what the test looks at
  QByteArray received;             // every byte the program wrote, in order
  int opens = 0;
  bool dtr = false;
  bool rts = true;
  std::int32_t recorder_rate = 4800;

  QString port() const override { return port_; }
  void set_port(const QString& name) override { port_ = name; }
  std::int32_t custom_baud_rate() const override { return rate_; }
  void set_custom_baud_rate(std::int32_t baud) override { rate_ = baud; }
  bool connected() const override { return connected_; }
  void open() override;
  void close() override { connected_ = false; }
  void set_dtr(bool on) override { dtr = on; }
  void set_rts(bool on) override { rts = on; }
  int write_str(const QByteArray& bytes) override;
  QByteArray read_str(int max_bytes) override;
  int input_count() const override { return static_cast<int>(input_.size()); }
  QString denied_device() const override { return denied; }

 private:
  void take(char byte);
  void answer(const QByteArray& bytes);
  void block();

  QString port_ = QStringLiteral("COM1");
  std::int32_t rate_ = 9600;
  bool connected_ = false;
  QByteArray pending_;  // first byte of a two-byte command
  QByteArray input_;
  int next_block_ = 0;
};

}  // namespace pulvitra::test
