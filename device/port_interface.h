// What the link needs of a serial port: a name "COMn", a rate, open/close, the modem lines,
// writing, reading what has arrived, and notifications for received bytes and line errors.
// The program's port is TComPortN; tests put a fake recorder behind the same interface.
// Failures raise EComPort.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

namespace pulvitra {

class PortInterface : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~PortInterface() override;

  // The port name ("COM1".."COM8"); changing it while open reopens under the new name.
  virtual QString port() const = 0;
  virtual void set_port(const QString& name) = 0;

  // The custom rate in baud: applied at the next open, or at once while open.
  virtual std::int32_t custom_baud_rate() const = 0;
  virtual void set_custom_baud_rate(std::int32_t baud) = 0;

  virtual bool connected() const = 0;
  // Opens exclusively (nothing when already open); raises EComPort and stays closed on failure.
  virtual void open() = 0;
  // Closes (nothing when closed).
  virtual void close() = 0;

  virtual void set_dtr(bool on) = 0;
  virtual void set_rts(bool on) = 0;

  // Sends every byte (zero bytes included); returns the number written.
  virtual int write_str(const QByteArray& bytes) = 0;
  // Returns at once with up to max_bytes of what has arrived.
  virtual QByteArray read_str(int max_bytes) = 0;
  // Bytes received and not yet read.
  virtual int input_count() const = 0;
  // Takes in at once what the line has delivered but not yet announced: a wait that comes to
  // its end on a machine that was busy must not miss bytes that are already there.
  virtual void take_pending_input() {}

  // Why the last open failed for lack of rights ("" otherwise): the device path, for the
  // remedy the log shows.
  virtual QString denied_device() const { return QString(); }
  // The device the port name led to at the last open ("" when unknown), for the log.
  virtual QString device() const { return QString(); }

 signals:
  // Bytes have arrived; count is what the input queue holds now. Delivered on the GUI thread.
  void rx_char(int count);
  // The line reported an error; errors holds LineErrorFlag bits (line_errors.h).
  // Delivered on the GUI thread.
  void line_error(int errors);
};

}  // namespace pulvitra
