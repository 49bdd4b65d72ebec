// Which device each port name stands for, a port that is already taken, and a line that fails.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

#include "device/ecomport.h"
#include "device/port_names.h"
#include "device/serial_port.h"
#include "tests/support/recorder_process.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

struct PortOnPty {
  PortOnPty() { folder.write_ini({"COM1=" + pty.slave_path}); }
  PseudoTerminal pty;
  ProgramFolderWithPorts folder;
  TComPortN port;
};

TEST(SerialPort, a_port_held_by_another_program_does_not_open) {
  PortOnPty f;
  f.port.open();
  EXPECT_FALSE(port_exists(1));  // the probe, too, finds it taken
  TComPortN second;
  try {
    second.open();
    FAIL() << "opened twice";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.code(), 1);
    EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to open com port (win error code: 16)");
  }
  EXPECT_FALSE(second.connected());
}

TEST(SerialPort, a_line_that_hangs_up_reports_one_error_and_then_stays_quiet) {
  PortOnPty f;
  QSignalSpy errors(&f.port, &PortInterface::line_error);
  f.port.open();
  ::close(f.pty.master);  // the far end goes away
  f.pty.master = -1;
  QTest::qWait(100);
  EXPECT_EQ(errors.count(), 1);
  EXPECT_TRUE(f.port.connected());  // until the program closes it
  EXPECT_NO_THROW(f.port.write_str("t"));
  EXPECT_EQ(f.port.read_str(8), QByteArray());
  f.port.close();
  EXPECT_FALSE(f.port.connected());
}

TEST(PortNames, system_ports_put_usb_and_acm_adapters_first_in_numeric_order) {
  const QStringList found{"/dev/ttyS10", "/dev/ttyUSB1", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB10",
                          "/dev/ttyUSB0"};
  EXPECT_EQ(order_serial_devices(found),
            (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB10", "/dev/ttyS1", "/dev/ttyS2",
                         "/dev/ttyS10"}));
}

TEST(PortNames, the_ports_section_maps_names_to_devices_and_is_then_the_whole_list) {
  PseudoTerminal pty;
  ProgramFolderWithPorts folder;
  folder.write_ini({"COM1=" + pty.slave_path, "COM3=/dev/no-such-adapter", "COM12=" + pty.slave_path},
                   "[Pulvitra 2.4 Settings]\nComPort=3\n");
  EXPECT_EQ(device_for_port(QStringLiteral("COM1")), pty.slave_path);
  EXPECT_EQ(device_for_port(QStringLiteral("COM2")), QString());
  EXPECT_EQ(device_for_port(12), pty.slave_path);
  EXPECT_TRUE(port_exists(1));
  EXPECT_FALSE(port_exists(2));
  EXPECT_FALSE(port_exists(3));  // mapped, but the adapter is not plugged in
  EXPECT_TRUE(port_exists(12));
}

}  // namespace
}  // namespace pulvitra
