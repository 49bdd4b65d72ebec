// Which device each port name stands for, a port that is already taken, and a line that fails.
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <cerrno>
#include <unistd.h>

#include "device/ecomport.h"
#include "device/port_names.h"
#include "device/serial_port.h"
#include "tests/support/recorder_process.h"

using namespace pulvitra::test;

namespace pulvitra {
namespace {

struct PortOnPty {
  PortOnPty() {
    folder.write_ini({"COM1=" + pty.slave_path});
    port.set_port_map(folder.ports());
  }
  PseudoTerminal pty;
  ProgramFolderWithPorts folder;
  TComPortN port;
};

TEST(SerialPort, a_port_held_by_another_program_does_not_open) {
  PortOnPty f;
  f.port.open();
  EXPECT_FALSE(port_exists(1, f.folder.ports()));  // the probe, too, finds it taken
  TComPortN second;
  second.set_port_map(f.folder.ports());
  try {
    second.open();
    FAIL() << "opened twice";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.code(), 1);
    EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to open com port (Device or resource busy, errno 16)");
  }
  EXPECT_FALSE(second.connected());
}

// What the general error report shows when the port fails: the step that failed, then the
// system's text and number in brackets; the number also chooses the remedy the log names.
TEST(SerialPort, a_port_that_fails_names_the_step_and_the_systems_reason) {
  struct Case {
    const char* what;
    QString com1;                       // the device COM1 stands for
    std::function<void(TComPortN&)> act;
    int code;
    int system_error;
    const char* text;
  };
  const auto open = [](TComPortN& port) { port.open(); };
  const Case cases[] = {
      {"a device that is not there", "/dev/no-such-adapter", open, kErrOpen, ENOENT,
       "Unable to open com port (No such file or directory, errno 2)"},
      {"a device that is no serial line", "/dev/null", open, kErrSetState, EINVAL,
       "SetCommState function failed (Invalid argument, errno 22)"},
      {"a write before the port is open", "/dev/null", [](TComPortN& port) { port.write_str("V"); }, kErrWrite, EBADF,
       "WriteFile function failed (Bad file descriptor, errno 9)"},
      {"a read before the port is open", "/dev/null", [](TComPortN& port) { port.read_str(2); }, kErrRead, EBADF,
       "ReadFile function failed (Bad file descriptor, errno 9)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramFolderWithPorts folder;
    folder.write_ini({"COM1=" + c.com1});
    TComPortN port;
    port.set_port_map(folder.ports());
    try {
      c.act(port);
      ADD_FAILURE() << "no error";
    } catch (const EComPort& e) {
      EXPECT_EQ(e.code(), c.code);
      EXPECT_EQ(e.system_error(), c.system_error);
      EXPECT_EQ(QString::fromUtf8(e.what()), c.text);
    }
    EXPECT_FALSE(port.connected());
  }
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
  const PortMap ports = folder.ports();
  EXPECT_EQ(device_for_port(QStringLiteral("COM1"), ports), pty.slave_path);
  EXPECT_EQ(device_for_port(QStringLiteral("COM2"), ports), QString());
  EXPECT_EQ(device_for_port(12, ports), pty.slave_path);
  EXPECT_TRUE(port_exists(1, ports));
  EXPECT_FALSE(port_exists(2, ports));
  EXPECT_FALSE(port_exists(3, ports));  // mapped, but the adapter is not plugged in
  EXPECT_TRUE(port_exists(12, ports));
}

TEST(PortNames, the_ports_section_is_read_once_with_the_settings) {
  struct Case {
    const char* section;   // the lines after "[Ports]"
    bool maps_any;
    QString com1, com2, com12;
  };
  const Case cases[] = {
      {"com1 = /dev/ttyUSB3 \nCOM2=/dev/ttyS0\n", true, "/dev/ttyUSB3", "/dev/ttyS0", ""},
      {"COM1=/dev/first\nCOM1=/dev/second\n", true, "/dev/first", "", ""},  // the first counts
      {"COM1=\nCOM2=/dev/ttyS0\n", true, "", "/dev/ttyS0", ""},              // an empty value maps nothing
      {"COM12=/dev/ttyUSB0\n", false, "", "", "/dev/ttyUSB0"},  // beyond COM8: the system order holds
      {"COM01=/dev/ttyUSB0\nPort1=/dev/ttyS1\nCOMX=/dev/ttyS2\n", false, "", "", ""},
  };
  for (const Case& c : cases) {
    ProgramFolderWithPorts folder;
    QFile ini(folder.home.filePath("Pulvitra.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QByteArray("[Pulvitra 2.4 Settings]\r\nComPort=2\r\n[Ports]\r\n") + c.section + "[Other]\r\nCOM3=/dev/x\r\n");
    ini.close();
    const Settings settings = read_settings(settings_path());
    EXPECT_EQ(settings.ComPort, 2) << c.section;
    const PortMap ports(settings.Ports);
    EXPECT_EQ(ports.maps_any(), c.maps_any) << c.section;
    EXPECT_EQ(ports.device(1), c.com1) << c.section;
    EXPECT_EQ(ports.device(2), c.com2) << c.section;
    EXPECT_EQ(ports.device(3), "") << "another section's key: " << c.section;
    EXPECT_EQ(ports.device(12), c.com12) << c.section;
  }
}

}  // namespace
}  // namespace pulvitra
