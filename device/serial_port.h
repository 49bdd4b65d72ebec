// The program's serial port, pul_com: a port name "COMn" resolved to a device (port_names.h),
// exclusive open, any integer rate (the recorder uses 4800 baud and the rates of
// recording/recorder_rates.h), 8 data bits, no parity, 1 stop bit, no flow control, 1024-byte buffers.
// Reads return at once with what has arrived; writes send zero bytes like any other.
// A line that fails for good (adapter unplugged, the other end hung up) reports one line
// error; the port then counts as open but idle — writes go nowhere, reads bring nothing —
// until it is closed, so a failing device cannot flood the program with errors.
// The serial driver marks garbled bytes and breaks in the received data and counts overruns
// (line_errors.h); the port takes the marks out and raises one line error for each.
#pragma once

#include <QSerialPort>

#include "device/line_errors.h"
#include "device/port_interface.h"
#include "device/port_names.h"

namespace pulvitra {

class TComPortN final : public PortInterface {
  Q_OBJECT
 public:
  static constexpr int kInputSize = 1024;

  explicit TComPortN(QObject* parent = nullptr);
  ~TComPortN() override;

  QString port() const override { return port_; }
  void set_port(const QString& name) override;
  std::int32_t custom_baud_rate() const override { return custom_baud_rate_; }
  void set_custom_baud_rate(std::int32_t baud) override;
  bool connected() const override { return serial_.isOpen() || line_lost_; }
  void open() override;
  void close() override;
  void set_dtr(bool on) override;
  void set_rts(bool on) override;
  int write_str(const QByteArray& bytes) override;
  QByteArray read_str(int max_bytes) override;
  int input_count() const override;
  void take_pending_input() override;
  QString denied_device() const override { return denied_device_; }

  // Where the port names lead (the [Ports] mapping); by default the system's ports in order.
  void set_port_map(const PortMap& ports) { ports_ = ports; }
  const PortMap& port_map() const { return ports_; }

  // The device the port name stands for at the last open ("" before the first, or when the
  // name stands for none).
  QString device() const override { return device_; }

 private:
  void on_ready_read();
  void mark_line_errors();
  LineCounters read_counters() const;
  void on_serial_error(QSerialPort::SerialPortError error);
  void lose_line();
  [[noreturn]] void fail_open(const QString& device);

  QSerialPort serial_;
  QString port_ = QStringLiteral("COM1");
  PortMap ports_;
  std::int32_t custom_baud_rate_ = 9600;
  QString denied_device_;
  QString device_;
  // Errors raised by our own calls (open, modem lines) are reported by those calls, not as
  // line errors.
  bool in_own_call_ = false;
  bool line_lost_ = false;
  QByteArray input_;  // received, unmarked, not yet read
  MarkedInputDecoder decoder_;
  LineCounters counters_;
};

}  // namespace pulvitra
