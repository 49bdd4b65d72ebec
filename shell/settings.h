// The five user settings kept in "Pulvitra.ini" (beside a portable program, per user for an
// installed one; see program_folder.h): read once at start,
// written once at exit. Other sections of the file (for example [Ports]) are kept as they are.
// The [Ports] section is read with the settings, so nothing else opens the file for it.
// A settings file that is not a regular file, or is too big to be one of ours, is not read:
// the defaults hold, the user is told once, and the file is left as it is at exit.
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

#include "shell/bounded_read.h"

namespace pulvitra {

inline const char* const kSettingsSection = "Pulvitra 2.4 Settings";
inline const char* const kSettingsFileName = "Pulvitra.ini";
inline const char* const kPortsSection = "Ports";

// The main window's size as it opens, in window pixels: its first size, the least it can be.
inline constexpr int kWindowFirstWidth = 603;
inline constexpr int kWindowFirstHeight = 444;
// Larger values in the file are taken as this: no screen is that large, a typing slip may be.
inline constexpr int kWindowLargestSide = 16384;

// The window as the user left it: its size when not maximised, and whether it was maximised.
// Written only when it differs from the first size (key Window_Size=WIDTHxHEIGHT) or was
// maximised (Window_Maximized=1), so a file of a user who never resized stays as it was.
struct WindowGeometry {
  int width = kWindowFirstWidth;
  int height = kWindowFirstHeight;
  bool maximized = false;
};

struct Settings {
  bool Assist = true;
  std::uint8_t ComPort = 1;
  std::int32_t MaxBaud = 12800;  // key Max_Baudrate
  std::uint8_t Language = 1;
  bool BackGround = true;
  WindowGeometry Window;
  // The [Ports] section as it stands in the file: keys in upper case ("COM1") to values.
  // Only read; write_settings leaves the section in the file as it is.
  std::map<QString, QString> Ports;
  // How the file was found at start (its bytes are not kept). When it was refused, the values
  // above are the defaults and write_settings leaves the file alone.
  BoundedRead file;
};

// The settings file: in the portable program folder or the per-user one (program_folder.h).
QString settings_path();

// Reads the five keys and the window's; a missing file, section, key or an unreadable value gives the default.
// A UTF-8 byte-order mark at the start of the file is skipped.
Settings read_settings(const QString& path);

// What the user is told when the settings file was refused at start, in the current language:
// which file, why, and that the defaults hold. "" when the file was read or did not exist.
QString settings_note(const Settings& settings);

// Reads an integer the way the settings file stores it: decimal, "0x"/"0X" (more than two
// characters) or "$" for hexadecimal. Nothing on invalid text.
std::optional<std::int64_t> parse_ini_integer(const QString& text);

// The ComPort value written for a port name: the digit of "COMn" (n = 1..8), otherwise 1.
std::uint8_t com_port_number(const QString& port_name);

// Writes the five keys in their order (ComPort from port_name, Language from language), then
// the window's when it is not at its first size,
// keeping every other line of the file (and a byte-order mark); a missing folder is made
// first. The file is replaced only once completely written.
// A file that was refused at start is not written (the user has been told so); one that is
// not a regular file or too big now is not written either, with an error.
// Returns "" or the error text, which names the file.
QString write_settings(const QString& path, const Settings& settings, const QString& port_name,
                       std::uint8_t language);

// The value of a key in any section of an INI file ("" when absent); names compare without case.
QString read_ini_value(const QString& path, const QString& section, const QString& key);

}  // namespace pulvitra
