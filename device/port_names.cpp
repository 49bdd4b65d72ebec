#include "device/port_names.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <utility>
#include <unistd.h>

#include "shell/language.h"
#include "shell/settings.h"

namespace pulvitra {

namespace {

constexpr int kHighestListedNumber = 8;

bool is_adapter(const QString& device_path) {
  const QString name = QFileInfo(device_path).fileName();
  return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

// Orders "/dev/ttyS2" before "/dev/ttyS10": the trailing number compares as a number.
bool natural_less(const QString& a, const QString& b) {
  auto split = [](const QString& path) {
    qsizetype digits_from = path.size();
    while (digits_from > 0 && path[digits_from - 1].isDigit()) --digits_from;
    return std::pair{path.left(digits_from), path.mid(digits_from).toLongLong()};
  };
  return split(a) < split(b);
}

}  // namespace

PortMap::PortMap(const std::map<QString, QString>& ports_section) {
  for (const auto& [key, device] : ports_section) {
    const int n = com_number(key);
    if (n > 0 && key == QStringLiteral("COM%1").arg(n) && !device.isEmpty()) devices_[n] = device;
  }
}

bool PortMap::maps_any() const {
  return !devices_.empty() && devices_.begin()->first <= kHighestListedNumber;
}

QString PortMap::device(int n) const {
  const auto found = devices_.find(n);
  return found == devices_.end() ? QString() : found->second;
}

PortMap read_port_map(const QString& settings_file) { return PortMap(read_settings(settings_file).Ports); }

int com_number(const QString& port_name) {
  if (!port_name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) return 0;
  bool ok = false;
  const int n = port_name.mid(3).toInt(&ok);
  return ok && n > 0 && port_name.mid(3).front().isDigit() ? n : 0;
}

QStringList order_serial_devices(QStringList device_paths) {
  std::stable_sort(device_paths.begin(), device_paths.end(), [&](const QString& a, const QString& b) {
    if (is_adapter(a) != is_adapter(b)) return is_adapter(a);
    return natural_less(a, b);
  });
  return device_paths;
}

QStringList system_serial_ports() {
  QStringList paths;
  const auto ports = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo& info : ports) paths << info.systemLocation();
  return order_serial_devices(paths);
}

QString device_for_port(int n, const PortMap& ports) {
  if (n <= 0) return QString();
  if (ports.maps_any()) return ports.device(n);
  const QStringList system_ports = system_serial_ports();
  return n <= system_ports.size() ? system_ports[n - 1] : QString();
}

QString device_for_port(const QString& port_name, const PortMap& ports) {
  return device_for_port(com_number(port_name), ports);
}

bool access_denied(const QString& device_path) {
  const QByteArray path = device_path.toLocal8Bit();
  return QFileInfo::exists(device_path) && ::access(path.constData(), R_OK | W_OK) != 0;
}

bool port_exists(int n, const PortMap& ports) {
  const QString device = device_for_port(n, ports);
  if (device.isEmpty() || !QFileInfo::exists(device)) return false;
  if (access_denied(device)) return true;
  QSerialPort probe;
  probe.setPortName(device);
  if (!probe.open(QIODevice::ReadWrite)) return false;
  probe.close();
  return true;
}

QString permission_remedy(const QString& device_path) {
  return lang_text(QStringLiteral("Keine Zugriffsrechte auf %1: Benutzer zur Gruppe dialout hinzufügen "
                                  "(sudo usermod -aG dialout $USER) und neu anmelden")
                       .arg(device_path),
                   QStringLiteral("No access to %1: add the user to the group dialout "
                                  "(sudo usermod -aG dialout $USER) and log in again")
                       .arg(device_path));
}

}  // namespace pulvitra
