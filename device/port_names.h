// Which device a port name "COMn" stands for, and whether that port exists.
// An optional [Ports] section of the settings file maps names to devices (COM1=/dev/ttyUSB0);
// when it maps any of COM1..COM8, the mapping is the whole list. Otherwise COM1, COM2, ... are the system's
// serial ports in a stable order: USB and ACM adapters first, then the others, each group by
// name with numbers compared as numbers.
#pragma once

#include <QString>
#include <QStringList>

namespace pulvitra {

inline const char* const kPortsSection = "Ports";

// The number n of "COMn" (any positive n), or 0 when the name has another form.
int com_number(const QString& port_name);

// Device paths in the order COM1, COM2, ... take them when nothing is mapped.
QStringList order_serial_devices(QStringList device_paths);
QStringList system_serial_ports();

// The device of port n (1-based) or of a port name; "" when there is none.
QString device_for_port(int n);
QString device_for_port(const QString& port_name);

// The probe: port n exists when its device opens for reading and writing (and is closed again
// at once). A device the user may not open counts as existing, so the port is listed and the
// log can name the remedy; a device held by another program does not.
bool port_exists(int n);

// True when the device is there but the user lacks the rights to open it.
bool access_denied(const QString& device_path);

// The log line that tells the user how to get the rights for a device.
QString permission_remedy(const QString& device_path);

}  // namespace pulvitra
