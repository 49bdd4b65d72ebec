#include "device/serial_port.h"

#include <QTimer>
#include <cerrno>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "device/ecomport.h"
#include "device/port_names.h"

namespace pulvitra {

namespace {

// Scope in which errors of the serial port belong to the call that caused them.
class OwnCall {
 public:
  explicit OwnCall(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~OwnCall() { flag_ = before_; }

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

TComPortN::TComPortN(QObject* parent) : PortInterface(parent) {
  connect(&serial_, &QSerialPort::readyRead, this, &TComPortN::on_ready_read);
  connect(&serial_, &QSerialPort::errorOccurred, this, &TComPortN::on_serial_error);
}

TComPortN::~TComPortN() {
  OwnCall own(in_own_call_);
  serial_.close();
}

void TComPortN::set_port(const QString& name) {
  port_ = name;
  if (!connected()) return;
  close();
  open();
}

void TComPortN::set_custom_baud_rate(std::int32_t baud) {
  custom_baud_rate_ = baud;
  if (!serial_.isOpen()) return;
  OwnCall own(in_own_call_);
  if (!serial_.setBaudRate(baud)) throw EComPort(kErrSetState, EINVAL);
}

void TComPortN::open() {
  if (connected()) return;
  denied_device_.clear();
  const QString device = device_for_port(port_, ports_);
  device_ = device;
  if (device.isEmpty()) throw EComPort(kErrOpen, ENOENT);
  OwnCall own(in_own_call_);
  serial_.setPortName(device);
  serial_.setReadBufferSize(kInputSize);
  serial_.setBaudRate(custom_baud_rate_);
  serial_.setDataBits(QSerialPort::Data8);
  serial_.setParity(QSerialPort::NoParity);
  serial_.setStopBits(QSerialPort::OneStop);
  serial_.setFlowControl(QSerialPort::NoFlowControl);
  if (!serial_.open(QIODevice::ReadWrite)) fail_open(device);
  serial_.clear();
  mark_line_errors();
  input_.clear();
  decoder_.reset();
  counters_ = read_counters();
}

// Without the marking a garbled byte arrives as an ordinary one and a break as a zero byte.
void TComPortN::mark_line_errors() {
  const int fd = static_cast<int>(serial_.handle());
  termios line{};
  if (fd < 0 || tcgetattr(fd, &line) != 0) return;
  line.c_iflag |= INPCK | PARMRK;
  line.c_iflag &= ~(IGNPAR | IGNBRK | BRKINT | ISTRIP);
  tcsetattr(fd, TCSANOW, &line);
}

LineCounters TComPortN::read_counters() const {
  serial_icounter_struct counts{};
  const int fd = static_cast<int>(serial_.handle());
  // A pseudo-terminal keeps no counters; then only the marks tell.
  if (fd < 0 || ioctl(fd, TIOCGICOUNT, &counts) != 0) return {};
  return {static_cast<std::uint32_t>(counts.frame), static_cast<std::uint32_t>(counts.parity),
          static_cast<std::uint32_t>(counts.overrun), static_cast<std::uint32_t>(counts.buf_overrun),
          static_cast<std::uint32_t>(counts.brk)};
}

void TComPortN::take_pending_input() {
  if (!serial_.isOpen() || line_lost_) return;
  OwnCall own(in_own_call_);  // a timeout of this zero wait is no line error
  serial_.waitForReadyRead(0);  // reads what the driver holds; readyRead hands it on
  serial_.clearError();
}

void TComPortN::on_ready_read() {
  if (line_lost_) return;
  MarkedInputDecoder::Result received = decoder_.decode(serial_.readAll());
  input_ += received.data;
  // Framing, parity and break are marked in the data; only overruns leave no mark.
  const LineCounters counters = read_counters();
  for (int error : new_line_errors(counters_, counters))
    if (error == kLineOverrun) received.errors.push_back(error);
  counters_ = counters;
  for (int error : received.errors) emit line_error(error);
  if (!input_.isEmpty()) emit rx_char(static_cast<int>(input_.size()));
}

void TComPortN::fail_open(const QString& device) {
  const QSerialPort::SerialPortError error = serial_.error();
  serial_.close();
  serial_.clearError();
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      throw EComPort(kErrOpen, ENOENT);
    case QSerialPort::PermissionError:
      // Either our rights are missing or another program holds the port.
      if (access_denied(device)) {
        denied_device_ = device;
        throw EComPort(kErrOpen, EACCES);
      }
      throw EComPort(kErrOpen, EBUSY);
    case QSerialPort::UnsupportedOperationError:
      throw EComPort(kErrSetState, EINVAL);  // the driver refuses the rate or line settings
    default:
      throw EComPort(kErrOpen, EIO);
  }
}

void TComPortN::close() {
  if (!connected()) return;
  line_lost_ = false;
  OwnCall own(in_own_call_);
  serial_.clear();
  serial_.close();
  input_.clear();
  decoder_.reset();
}

void TComPortN::set_dtr(bool on) {
  if (line_lost_) return;
  OwnCall own(in_own_call_);
  if (serial_.setDataTerminalReady(on)) return;
  // A pseudo-terminal (the recorder simulator) has no modem lines; that is not a fault.
  const bool no_modem_lines = serial_.error() == QSerialPort::UnsupportedOperationError;
  serial_.clearError();
  if (!no_modem_lines) throw EComPort(kErrEscape, EIO);
}

void TComPortN::set_rts(bool on) {
  if (line_lost_) return;
  OwnCall own(in_own_call_);
  if (serial_.setRequestToSend(on)) return;
  const bool no_modem_lines = serial_.error() == QSerialPort::UnsupportedOperationError;
  serial_.clearError();
  if (!no_modem_lines) throw EComPort(kErrEscape, EIO);
}

int TComPortN::write_str(const QByteArray& bytes) {
  if (!connected()) throw EComPort(kErrWrite, EBADF);
  if (bytes.isEmpty()) return 0;
  if (line_lost_) return static_cast<int>(bytes.size());  // nobody listens any more
  const qint64 written = serial_.write(bytes);
  if (written < 0) throw EComPort(kErrWrite, EIO);
  // Hand the bytes to the driver now: the recorder's timing counts from the command.
  serial_.flush();
  return static_cast<int>(written);
}

QByteArray TComPortN::read_str(int max_bytes) {
  if (!connected()) throw EComPort(kErrRead, EBADF);
  if (max_bytes <= 0 || line_lost_) return QByteArray();
  QByteArray taken = input_.left(max_bytes);
  input_.remove(0, taken.size());
  return taken;
}

int TComPortN::input_count() const { return serial_.isOpen() ? static_cast<int>(input_.size()) : 0; }

void TComPortN::on_serial_error(QSerialPort::SerialPortError error) {
  if (in_own_call_ || line_lost_ || error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
  serial_.clearError();
  const bool for_good = error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
  if (for_good) lose_line();
  emit line_error(kLineFailed);
}

void TComPortN::lose_line() {
  line_lost_ = true;
  // The device is closed once the serial port has finished the notification it is in.
  QTimer::singleShot(0, this, [this] {
    if (!line_lost_) return;
    OwnCall own(in_own_call_);
    serial_.close();
  });
}

}  // namespace pulvitra
