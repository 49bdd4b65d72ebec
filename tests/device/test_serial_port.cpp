// The program's serial port on a pseudo-terminal, and which device each port name stands for.
#include <QSignalSpy>
#include <QTest>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "device/ecomport.h"
#include "device/port_names.h"
#include "device/serial_port.h"
#include "recorder_process.h"

namespace pulvitra {
namespace {

// The rate the program's side of the line is set to, as the other end sees it.
int line_rate(const PseudoTerminal& pty) {
  struct termios2 settings {};
  if (ioctl(pty.slave_keeper, TCGETS2, &settings) != 0) return -1;
  return static_cast<int>(settings.c_ospeed);
}

QByteArray read_master(const PseudoTerminal& pty, int expected) {
  QByteArray bytes;
  for (int attempt = 0; attempt < 100 && bytes.size() < expected; ++attempt) {
    char buffer[64];
    const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
    if (n > 0) bytes.append(buffer, static_cast<int>(n));
    else QTest::qWait(5);
  }
  return bytes;
}

struct PortOnPty {
  PortOnPty() {
    folder.write_ini({"COM1=" + pty.slave_path});
    ::fcntl(pty.master, F_SETFL, O_NONBLOCK);
  }
  PseudoTerminal pty;
  ProgramFolderWithPorts folder;
  TComPortN port;
};

TEST(SerialPort, opens_at_each_recorder_rate_and_changes_the_rate_while_open) {
  PortOnPty f;
  ASSERT_TRUE(f.pty.ok());
  f.port.set_custom_baud_rate(15625);
  EXPECT_NE(line_rate(f.pty), 15625);  // a closed port only keeps the rate
  f.port.open();
  EXPECT_TRUE(f.port.connected());
  EXPECT_EQ(f.port.device(), f.pty.slave_path);
  EXPECT_EQ(line_rate(f.pty), 15625);
  for (int rate : {4800, 12800, 20833, 31250, 62500}) {
    f.port.set_custom_baud_rate(rate);
    EXPECT_EQ(line_rate(f.pty), rate);
  }
}

TEST(SerialPort, modem_lines_of_a_pseudo_terminal_are_no_error) {
  PortOnPty f;
  QSignalSpy errors(&f.port, &PortInterface::line_error);
  f.port.open();
  EXPECT_NO_THROW(f.port.set_dtr(true));
  EXPECT_NO_THROW(f.port.set_rts(false));
  QTest::qWait(10);
  EXPECT_EQ(errors.count(), 0);
}

TEST(SerialPort, writes_zero_bytes_and_reads_only_what_has_arrived) {
  PortOnPty f;
  QSignalSpy received(&f.port, &PortInterface::rx_char);
  f.port.open();
  EXPECT_EQ(f.port.write_str(QByteArray("r\0", 2)), 2);
  EXPECT_EQ(read_master(f.pty, 2), QByteArray("r\0", 2));
  ASSERT_EQ(::write(f.pty.master, "\x01\x61\xFB", 3), 3);
  ASSERT_TRUE(received.wait(1000));
  EXPECT_EQ(f.port.read_str(100), QByteArray("\x01\x61\xFB", 3));  // asked for more, got three
  EXPECT_EQ(f.port.read_str(100), QByteArray());
}

TEST(SerialPort, a_port_held_by_another_program_does_not_open) {
  PortOnPty f;
  f.port.open();
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

TEST(SerialPort, closed_port_refuses_writes_and_reads) {
  PortOnPty f;
  struct Case {
    std::function<void()> call;
    const char* text;
  };
  const Case cases[] = {
      {[&] { f.port.write_str("V"); }, "WriteFile function failed (win error code: 9)"},
      {[&] { f.port.read_str(2); }, "ReadFile function failed (win error code: 9)"},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EComPort& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

TEST(SerialPort, a_name_without_a_device_fails_to_open) {
  PortOnPty f;
  f.port.set_port(QStringLiteral("COM2"));  // the mapping lists COM1 only
  EXPECT_THROW(f.port.open(), EComPort);
  EXPECT_FALSE(f.port.connected());
}

TEST(PortNames, system_ports_put_usb_and_acm_adapters_first_in_numeric_order) {
  const QStringList found{"/dev/ttyS10", "/dev/ttyUSB1", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB10",
                          "/dev/ttyUSB0"};
  EXPECT_EQ(order_serial_devices(found),
            (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB10", "/dev/ttyS1", "/dev/ttyS2",
                         "/dev/ttyS10"}));
}

TEST(PortNames, com_number_of_a_port_name) {
  const std::pair<const char*, int> cases[] = {
      {"COM1", 1}, {"COM8", 8}, {"COM12", 12}, {"com3", 3}, {"xxxx", 0}, {"COM", 0}, {"COM0", 0}, {"COM-1", 0},
      {"COM 2", 0}, {"LPT1", 0},
  };
  for (const auto& [name, number] : cases) EXPECT_EQ(com_number(QLatin1String(name)), number) << name;
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

TEST(PortNames, the_probe_leaves_a_port_free) {
  PortOnPty f;
  EXPECT_TRUE(port_exists(1));
  EXPECT_NO_THROW(f.port.open());
  EXPECT_FALSE(port_exists(1));  // held by pul_com now
}

}  // namespace
}  // namespace pulvitra
