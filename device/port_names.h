// Which device a port name "COMn" stands for, and whether that port exists.
// An optional [Ports] section of the settings file maps names to devices (COM1=/dev/ttyUSB0);
// when it maps any of COM1..COM8, the mapping is the whole list. Otherwise COM1, COM2, ... are the system's
// serial ports in a stable order: USB and ACM adapters first, then the others, each group by
// name with numbers compared as numbers.
// The mapping is read once with the settings (Settings::Ports) and handed in as a PortMap.
#pragma once

#include <QString>
#include <QStringList>
#include <map>

#include "shell/settings.h"

namespace pulvitra {

// The [Ports] mapping: port number n of "COMn" to its device.
class PortMap {
 public:
  PortMap() = default;  // nothing mapped: the system's ports in their order
  explicit PortMap(const std::map<QString, QString>& ports_section);
  // True when any of COM1..COM8 is mapped; then the mapping is the whole list.
  bool maps_any() const;
  QString device(int n) const;  // "" when n is not mapped

 private:
  std::map<int, QString> devices_;
};

// The mapping of a settings file, for tools that read nothing else of it.
PortMap read_port_map(const QString& settings_file);

// The number n of "COMn" (any positive n), or 0 when the name has another form.
int com_number(const QString& port_name);

// Device paths in the order COM1, COM2, ... take them when nothing is mapped.
QStringList order_serial_devices(QStringList device_paths);
QStringList system_serial_ports();

// The device of port n (1-based) or of a port name; "" when there is none.
QString device_for_port(int n, const PortMap& ports);
QString device_for_port(const QString& port_name, const PortMap& ports);

// The probe: port n exists when its device opens for reading and writing (and is closed again
// at once). A device the user may not open counts as existing, so the port is listed and the
// log can name the remedy; a device held by another program does not.
bool port_exists(int n, const PortMap& ports);

// True when the device is there but the user lacks the rights to open it.
bool access_denied(const QString& device_path);

// The log line that tells the user how to get the rights for a device.
QString permission_remedy(const QString& device_path);

}  // namespace pulvitra
