// The settings file as users and earlier runs leave it: what is read, and what is written back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>
#include <tuple>

#include "shell/language.h"
#include "shell/settings.h"
#include "tests/support/file_bytes.h"
#include "tests/support/watchdog.h"

using namespace pulvitra;
using pulvitra::test::Watchdog;
using pulvitra::test::with_file_size_limit;

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

void write_bytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QString com1(const Settings& s) {
  const auto found = s.Ports.find("COM1");
  return found == s.Ports.end() ? QString() : found->second;
}

// What lies at a path, down to its inode: a file replaced by a rename is another one.
using FileIdentity = std::tuple<ino_t, mode_t, off_t, std::int64_t>;
FileIdentity identity(const QString& path) {
  struct stat st {};
  EXPECT_EQ(lstat(QFile::encodeName(path).constData(), &st), 0);
  return {st.st_ino, st.st_mode, st.st_size, std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
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

// The window opens as the user left it. A file of a user who never resized it gets no window
// keys, so it stays as older versions wrote it; sizes below the first size, beyond any screen
// or unreadable are not taken as they stand.
TEST(SettingsFile, the_window_size_is_kept_only_when_it_differs_from_the_first) {
  struct Case {
    const char* lines;  // in the settings section
    int width, height;
    bool maximized;
    const char* written;  // the window's lines as written back
  };
  const Case cases[] = {
      {"", 603, 444, false, ""},
      {"Window_Size=1366x740\r\n", 1366, 740, false, "Window_Size=1366x740\r\n"},
      {"window_size = 1000X700\r\nWindow_Maximized=1\r\n", 1000, 700, true,
       "Window_Size=1000x700\r\nWindow_Maximized=1\r\n"},
      {"Window_Maximized=1\r\n", 603, 444, true, "Window_Maximized=1\r\n"},
      {"Window_Size=200x100\r\n", 603, 444, false, ""},                           // smaller than the first size
      {"Window_Size=99999x700\r\n", 16384, 700, false, "Window_Size=16384x700\r\n"},  // a typing slip
      {"Window_Size=wide\r\nWindow_Maximized=x\r\n", 603, 444, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    QTemporaryDir dir;
    const QByteArray head = "[Pulvitra 2.4 Settings]\r\n";
    const QString path = write_file(dir, head + c.lines);
    const Settings s = read_settings(path);
    EXPECT_EQ(s.Window.width, c.width);
    EXPECT_EQ(s.Window.height, c.height);
    EXPECT_EQ(s.Window.maximized, c.maximized);
    EXPECT_EQ(write_settings(path, s, "COM1", 1), QString());
    EXPECT_EQ(read_file(path), head + "Assist=1\r\nComPort=1\r\nMax_Baudrate=12800\r\nLanguage=1\r\nBackGround=1\r\n" +
                                   c.written);
  }
}

TEST(SettingsFile, a_failed_write_leaves_the_old_file_whole) {
  QTemporaryDir dir;
  const QByteArray previous = "[Pulvitra 2.4 Settings]\r\nLanguage=2\r\n";
  const QString path = write_file(dir, previous);
  QString error;
  with_file_size_limit(16, [&] { error = write_settings(path, Settings{}, "COM1", 1); });

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

// Whatever lies where the settings file should be, the start goes on at once with what it
// can use, the user is told why the rest is not used, and at exit nothing the user had there
// is replaced or written over: not a named pipe or device (it would become a plain file), not a
// file too big to read (all of it but our five keys would be lost).
TEST(SettingsFile, a_file_that_is_no_settings_file_gives_the_defaults_a_note_and_is_left_alone) {
  using Make = std::function<void(const QString& path)>;
  const auto bytes = [](const QByteArray& content) -> Make {
    return [content](const QString& path) { write_bytes(path, content); };
  };
  const Make nothing = [](const QString&) {};
  const Make fifo = [](const QString& path) { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0644), 0); };
  const Make to_dev_zero = [](const QString& path) { ASSERT_TRUE(QFile::link("/dev/zero", path)); };
  const QByteArray one_mib_and_one = "[Pulvitra 2.4 Settings]\nLanguage=2\n;" + QByteArray(1024 * 1024 - 36, '-') + "\n";
  struct Case {
    const char* what;
    Make at_start;
    Make before_exit;
    std::uint8_t language;
    QString com1;        // the device COM1 maps to
    QString reason_de;   // why the file was not read, "" when it was
    QString reason_en;
    QByteArray written;  // how the file written at exit begins; "" when it is left alone
    QString exit_error;  // in English
  };
  const QString fifo_en = "it is a named pipe (FIFO), not a regular file";
  const Case cases[] = {
      {"a named pipe", fifo, nothing, 1, "", "sie ist eine benannte Pipe (FIFO), keine gewöhnliche Datei", fifo_en,
       "", ""},
      {"a link to /dev/zero", to_dev_zero, nothing, 1, "", "sie ist ein Gerät, keine gewöhnliche Datei",
       "it is a device, not a regular file", "", ""},
      {"a file over 1 MiB", bytes(one_mib_and_one), nothing, 1, "", "sie ist größer als 1 MiB",
       "it is larger than 1 MiB", "", ""},
      {"a byte-order mark before [Ports]",
       bytes("\xEF\xBB\xBF[Ports]\r\nCOM1=/dev/ttyUSB3\r\n[Pulvitra 2.4 Settings]\r\nLanguage=2\r\n"), nothing, 2,
       "/dev/ttyUSB3", "", "", "\xEF\xBB\xBF[Ports]\r\nCOM1=/dev/ttyUSB3\r\n[Pulvitra 2.4 Settings]\r\nAssist=1\r\n", ""},
      {"an ordinary file", bytes("[Ports]\nCOM1=/dev/ttyS4\n[Pulvitra 2.4 Settings]\nLanguage=2\n"), nothing, 2,
       "/dev/ttyS4", "", "", "[Ports]\r\nCOM1=/dev/ttyS4\r\n[Pulvitra 2.4 Settings]\r\nAssist=1\r\n", ""},
      {"a named pipe put there while the program ran", nothing, fifo, 1, "", "", "", "",
       "The settings file \"%1\" could not be written: " + fifo_en},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath("Pulvitra.ini");
    c.at_start(path);
    Settings s;
    {
      Watchdog watchdog(std::chrono::seconds(5), std::string("reading the settings file: ") + c.what);
      s = read_settings(path);
    }
    EXPECT_EQ(s.Language, c.language);
    EXPECT_EQ(com1(s), c.com1);
    EXPECT_EQ(s.MaxBaud, 12800);
    for (auto [lang, reason, note] :
         {std::tuple{kGerman, c.reason_de,
                     QString("Die Einstellungsdatei \"%1\" wurde nicht gelesen: %2. Es gelten die Standardeinstellungen; "
                             "die Datei bleibt, wie sie ist.")},
          std::tuple{kEnglish, c.reason_en,
                     QString("The settings file \"%1\" was not read: %2. The default settings apply; the file is left "
                             "as it is.")}}) {
      cur_lang = lang;
      EXPECT_EQ(settings_note(s), reason.isEmpty() ? QString() : note.arg(path, reason));
    }

    c.before_exit(path);
    const FileIdentity before = identity(path);
    s.MaxBaud = 31250;
    {
      Watchdog watchdog(std::chrono::seconds(5), std::string("writing the settings file: ") + c.what);
      EXPECT_EQ(write_settings(path, s, "COM2", 2), c.exit_error.isEmpty() ? QString() : c.exit_error.arg(path));
    }
    cur_lang = kGerman;
    if (c.written.isEmpty()) {
      EXPECT_EQ(identity(path), before) << "left as it was";
      continue;
    }
    EXPECT_TRUE(read_file(path).startsWith(c.written)) << read_file(path).toStdString();
    const Settings again = read_settings(path);
    EXPECT_EQ(again.MaxBaud, 31250);
    EXPECT_EQ(com1(again), c.com1);
  }
}
