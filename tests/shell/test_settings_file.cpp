// The settings file as users and earlier runs leave it: what is read, and what is written back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

#include "shell/settings.h"

using namespace pulvitra;

namespace {

QString write_file(const QTemporaryDir& dir, const QByteArray& text) {
  const QString path = dir.filePath("Pulvitra.ini");
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
  return path;
}

QByteArray read_file(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

}  // namespace

TEST(SettingsFile, first_start_without_file_uses_defaults_and_exit_creates_it) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Pulvitra.ini");
  Settings s = read_settings(path);
  EXPECT_TRUE(s.Assist);
  EXPECT_EQ(s.ComPort, 1);
  EXPECT_EQ(s.MaxBaud, 12800);
  EXPECT_EQ(s.Language, 1);
  EXPECT_TRUE(s.BackGround);

  EXPECT_EQ(write_settings(path, s, "COM1", 1), QString());
  EXPECT_EQ(read_file(path),
            "[Pulvitra 2.4 Settings]\r\nAssist=1\r\nComPort=1\r\nMax_Baudrate=12800\r\n"
            "Language=1\r\nBackGround=1\r\n");
}

TEST(SettingsFile, values_read_as_decimal_hexadecimal_or_default) {
  struct Case {
    const char* text;
    std::int32_t max_baud;
  };
  const Case cases[] = {
      {"15625", 15625}, {"0x3200", 12800}, {"0X3200", 12800}, {"$3200", 12800},
      {"0x", 12800},    {"abc", 12800},    {"", 12800},        {"62500 baud", 12800},
      {" 31250 ", 31250}, {"-1", -1},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    const QString path = write_file(dir, QByteArray("[Pulvitra 2.4 Settings]\nMax_Baudrate=") + c.text + "\n");
    EXPECT_EQ(read_settings(path).MaxBaud, c.max_baud) << c.text;
  }
}

TEST(SettingsFile, booleans_are_integers_and_bytes_out_of_range_fall_back) {
  QTemporaryDir dir;
  const QString path = write_file(dir,
                                  "[pulvitra 2.4 settings]\nAssist=0\nBackGround=7\nComPort=300\n"
                                  "Language=2\n[Other]\nAssist=1\n");
  Settings s = read_settings(path);
  EXPECT_FALSE(s.Assist);      // the section name compares without case
  EXPECT_TRUE(s.BackGround);   // any integer but 0 is true
  EXPECT_EQ(s.ComPort, 1);     // 300 does not fit the byte: default
  EXPECT_EQ(s.Language, 2);
}

TEST(SettingsFile, com_port_written_from_the_port_name) {
  EXPECT_EQ(com_port_number("COM3"), 3);
  EXPECT_EQ(com_port_number("COM8"), 8);
  EXPECT_EQ(com_port_number("xxxx"), 1);   // no port at all
  EXPECT_EQ(com_port_number("COM12"), 1);  // not a four-character name
  EXPECT_EQ(com_port_number("COM9"), 1);
  EXPECT_EQ(com_port_number("COM0"), 1);
}

TEST(SettingsFile, writing_keeps_other_sections_and_unknown_keys) {
  QTemporaryDir dir;
  const QString path = write_file(dir,
                                  "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n[Pulvitra 2.4 Settings]\r\nAssist=1\r\n"
                                  "Extra=keep me\r\nLanguage=1\r\n[Later]\r\nx=y\r\n");
  Settings s;
  s.Assist = false;
  s.MaxBaud = 62500;
  s.BackGround = false;
  EXPECT_EQ(write_settings(path, s, "COM2", 2), QString());
  EXPECT_EQ(read_file(path),
            "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n[Pulvitra 2.4 Settings]\r\nAssist=0\r\nComPort=2\r\n"
            "Max_Baudrate=62500\r\nLanguage=2\r\nBackGround=0\r\nExtra=keep me\r\n[Later]\r\nx=y\r\n");
  EXPECT_EQ(read_ini_value(path, "ports", "com1"), "/dev/ttyUSB0");
}

TEST(SettingsFile, a_failed_write_leaves_the_old_file_whole) {
  QTemporaryDir dir;
  const QByteArray previous = "[Pulvitra 2.4 Settings]\r\nLanguage=2\r\n";
  const QString path = write_file(dir, previous);
  // A file size limit makes the write fail part way, as a full disk does; it binds the
  // superuser too, unlike folder permissions.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &small);
  const QString error = write_settings(path, Settings{}, "COM1", 1);
  setrlimit(RLIMIT_FSIZE, &old_limit);

  EXPECT_TRUE(error.contains(path)) << error.toStdString();
  EXPECT_EQ(read_file(path), previous);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Pulvitra.ini"});  // no stray temp file
}

// Another program's Windows-1252 text (here "Müller" with the byte 0xFC) must survive the
// write at exit, in another section as in an unknown key of our own.
TEST(SettingsFile, writing_keeps_foreign_bytes_of_other_sections_and_keys) {
  QTemporaryDir dir;
  const QByteArray other = "[Praxis]\r\nArzt=Dr. M\xFCller\r\n";
  const QByteArray unknown = "Notiz=Gr\xFC\xDF" "e \x80 5\r\n";
  const QString path = write_file(dir, other + "[Pulvitra 2.4 Settings]\r\nLanguage=1\r\n" + unknown);
  EXPECT_EQ(write_settings(path, Settings{}, "COM1", 2), QString());
  EXPECT_EQ(read_file(path), other +
                                 "[Pulvitra 2.4 Settings]\r\nAssist=1\r\nComPort=1\r\nMax_Baudrate=12800\r\n"
                                 "Language=2\r\nBackGround=1\r\n" +
                                 unknown);
}

// However many digits a value has, it is read without overflow; beyond the key's range it
// gives the default (12800 for Max_Baudrate, 1 for Language).
TEST(SettingsFile, values_out_of_range_give_the_default_without_overflow) {
  struct Case {
    const char* text;
    std::int32_t max_baud;
  };
  const Case cases[] = {
      {"0xFFFFFFFFFFFFFFFF", 12800},       {"$FFFFFFFFFFFFFFFF", 12800},   {"0x7FFFFFFF", 2147483647},
      {"0x80000000", 12800},               {"2147483648", 12800},          {"-2147483648", -2147483647 - 1},
      {"-2147483649", 12800},              {"99999999999999999999999", 12800},
      {"0xFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 12800}, {"000000000000000000062500", 62500},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    const QString path = write_file(dir, QByteArray("[Pulvitra 2.4 Settings]\nMax_Baudrate=") + c.text +
                                             "\nLanguage=" + c.text + "\n");
    const Settings s = read_settings(path);
    EXPECT_EQ(s.MaxBaud, c.max_baud) << c.text;
    EXPECT_EQ(s.Language, 1) << c.text;
  }
}

// Lines before any section heading belong to no section. Our new section goes after them, so
// that they do not become keys of ours (here an empty Max_Baudrate that would shadow ours).
TEST(SettingsFile, lines_before_the_first_section_stay_outside_ours) {
  for (const QByteArray& head : {QByteArray("Max_Baudrate=\r\n"), QByteArray("Max_Baudrate=\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n")}) {
    QTemporaryDir dir;
    const QString path = write_file(dir, head);
    Settings s;
    s.MaxBaud = 62500;
    ASSERT_EQ(write_settings(path, s, "COM2", 2), "");
    const QByteArray written = read_file(path);
    EXPECT_TRUE(written.startsWith("Max_Baudrate=\r\n[Pulvitra 2.4 Settings]\r\n")) << written.toStdString();
    EXPECT_EQ(read_settings(path).MaxBaud, 62500);
    EXPECT_EQ(read_ini_value(path, "Ports", "COM1"), head.contains("Ports") ? "/dev/ttyUSB0" : "");
    ASSERT_EQ(write_settings(path, s, "COM2", 2), "");
    EXPECT_EQ(read_file(path), written) << "a second write changes nothing";
  }
}
