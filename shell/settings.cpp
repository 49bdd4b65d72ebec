#include "shell/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <limits>

#include "shell/file_replace.h"
#include "shell/language.h"
#include "shell/program_folder.h"

namespace pulvitra {

namespace {

bool is_section_line(const QString& line, QString* name) {
  QString t = line.trimmed();
  if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) return false;
  if (name) *name = t.mid(1, t.size() - 2).trimmed();
  return true;
}

// Editors that save UTF-8 "with signature" put these bytes first; they belong to no line.
const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

struct IniLines {
  QStringList lines;
  bool byte_order_mark = false;  // the file began with one, and gets it back when written
};

// The lines as bytes, one character per byte (Latin-1 maps every byte to itself), so that
// whatever another program stored in its sections goes back to the file unchanged.
IniLines split_lines(QByteArray bytes) {
  IniLines out;
  out.byte_order_mark = bytes.startsWith(kByteOrderMark);
  if (out.byte_order_mark) bytes.remove(0, kByteOrderMark.size());
  QString text = QString::fromLatin1(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  out.lines = text.split(QLatin1Char('\n'));
  if (!out.lines.isEmpty() && out.lines.last().isEmpty()) out.lines.removeLast();
  return out;
}

QStringList read_lines(const QString& path) { return split_lines(read_bounded(path, kSettingsFileLimit).bytes).lines; }

QString value_in(const QStringList& lines, const QString& section, const QString& key) {
  bool inside = false;
  for (const QString& line : lines) {
    QString name;
    if (is_section_line(line, &name)) {
      inside = name.compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!inside) continue;
    int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) return line.mid(eq + 1).trimmed();
  }
  return {};
}

std::map<QString, QString> section_in(const QStringList& lines, const QString& section) {
  std::map<QString, QString> values;
  bool inside = false;
  for (const QString& line : lines) {
    QString name;
    if (is_section_line(line, &name)) {
      inside = name.compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    const int eq = line.indexOf(QLatin1Char('='));
    if (!inside || eq < 0) continue;
    // The first of two equal keys counts, as for a single value.
    values.try_emplace(line.left(eq).trimmed().toUpper(), line.mid(eq + 1).trimmed());
  }
  return values;
}

template <typename T>
T read_int(const QStringList& lines, const char* key, T fallback) {
  auto v = parse_ini_integer(value_in(lines, QLatin1String(kSettingsSection), QLatin1String(key)));
  if (!v || *v < std::numeric_limits<T>::min() || *v > std::numeric_limits<T>::max()) return fallback;
  return static_cast<T>(*v);
}

bool read_bool(const QStringList& lines, const char* key, bool fallback) {
  auto v = parse_ini_integer(value_in(lines, QLatin1String(kSettingsSection), QLatin1String(key)));
  if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max())
    return fallback;
  return *v != 0;
}

// "WIDTHxHEIGHT"; a side below the first size counts as the first size, one beyond any screen
// as the largest; anything else gives the first size.
WindowGeometry read_window(const QStringList& lines) {
  WindowGeometry window;
  const QStringList sides = value_in(lines, QLatin1String(kSettingsSection), QStringLiteral("Window_Size"))
                                .split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
  if (sides.size() == 2) {
    const auto width = parse_ini_integer(sides[0]);
    const auto height = parse_ini_integer(sides[1]);
    if (width && height) {
      window.width = static_cast<int>(std::clamp<std::int64_t>(*width, kWindowFirstWidth, kWindowLargestSide));
      window.height = static_cast<int>(std::clamp<std::int64_t>(*height, kWindowFirstHeight, kWindowLargestSide));
    }
  }
  window.maximized = read_bool(lines, "Window_Maximized", false);
  return window;
}

QStringList window_lines(const WindowGeometry& window) {
  QStringList lines;
  if (window.width != kWindowFirstWidth || window.height != kWindowFirstHeight)
    lines << QStringLiteral("Window_Size=%1x%2").arg(window.width).arg(window.height);
  if (window.maximized) lines << QStringLiteral("Window_Maximized=1");
  return lines;
}

}  // namespace

QString settings_path() { return program_folders().settings_file; }

std::optional<std::int64_t> parse_ini_integer(const QString& raw) {
  QString text = raw.trimmed();
  bool negative = false;
  if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
    negative = text.startsWith(QLatin1Char('-'));
    text = text.mid(1);
  }
  int base = 10;
  if (text.startsWith(QLatin1Char('$'))) {
    base = 16;
    text = text.mid(1);
  } else if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
    base = 16;
    text = text.mid(2);
  }
  if (text.isEmpty()) return std::nullopt;
  // Anything beyond the 32-bit range is out of range of every key; stopping there keeps the
  // sum far from overflowing however many digits follow.
  constexpr std::int64_t kBeyondAnyKey = std::int64_t{std::numeric_limits<std::uint32_t>::max()} + 1;
  std::int64_t value = 0;
  for (QChar ch : text) {
    int digit = ch.isDigit() ? ch.digitValue() : -1;
    if (base == 16 && digit < 0) {
      char c = ch.toLower().toLatin1();
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    }
    if (digit < 0 || digit >= base || ch.unicode() > 127) return std::nullopt;
    value = value * base + digit;
    if (value > kBeyondAnyKey) return std::nullopt;
  }
  if (value > std::numeric_limits<std::int32_t>::max() + std::int64_t{1}) return std::nullopt;
  return negative ? -value : value;
}

Settings read_settings(const QString& path) {
  Settings s;
  s.file = read_bounded(path, kSettingsFileLimit);
  const QStringList lines = split_lines(s.file.bytes).lines;
  s.file.bytes.clear();
  Settings defaults;
  s.Assist = read_bool(lines, "Assist", defaults.Assist);
  s.ComPort = read_int<std::uint8_t>(lines, "ComPort", defaults.ComPort);
  s.MaxBaud = read_int<std::int32_t>(lines, "Max_Baudrate", defaults.MaxBaud);
  s.Language = read_int<std::uint8_t>(lines, "Language", defaults.Language);
  s.BackGround = read_bool(lines, "BackGround", defaults.BackGround);
  s.Window = read_window(lines);
  s.Ports = section_in(lines, QLatin1String(kPortsSection));
  return s;
}

QString settings_note(const Settings& settings) {
  if (!settings.file.refused()) return QString();
  return lang_text(QStringLiteral("Die Einstellungsdatei \"%1\" wurde nicht gelesen: %2. Es gelten die "
                                  "Standardeinstellungen; die Datei bleibt, wie sie ist."),
                   QStringLiteral("The settings file \"%1\" was not read: %2. The default settings apply; "
                                  "the file is left as it is."))
      .arg(settings.file.path, refusal_reason(settings.file));
}

std::uint8_t com_port_number(const QString& port_name) {
  if (port_name.size() == 4) {
    QChar d = port_name.at(3);
    if (d >= QLatin1Char('1') && d <= QLatin1Char('8')) return static_cast<std::uint8_t>(d.unicode() - '0');
  }
  return 1;
}

QString write_settings(const QString& path, const Settings& settings, const QString& port_name,
                       std::uint8_t language) {
  const QString section = QLatin1String(kSettingsSection);
  const QStringList ours = QStringList{
      QStringLiteral("Assist=%1").arg(settings.Assist ? 1 : 0),
      QStringLiteral("ComPort=%1").arg(com_port_number(port_name)),
      QStringLiteral("Max_Baudrate=%1").arg(settings.MaxBaud),
      QStringLiteral("Language=%1").arg(language),
      QStringLiteral("BackGround=%1").arg(settings.BackGround ? 1 : 0),
  } + window_lines(settings.Window);
  const QStringList known = {"Assist", "ComPort", "Max_Baudrate", "Language", "BackGround", "Window_Size",
                             "Window_Maximized"};
  const QString message = lang_text(QStringLiteral("Die Einstellungsdatei \"%1\" konnte nicht geschrieben werden: %2"),
                                    QStringLiteral("The settings file \"%1\" could not be written: %2"));

  // A file refused at start is left as the user has it, at the cost of this run's settings
  // (the user was told at start that the defaults hold and the file stays): written over, a
  // named pipe or a device would become a plain file, and a file too big or unreadable would
  // lose everything in it but our five keys.
  if (settings.file.refused()) return {};
  // The same for one that has become such a file since; the user has not been told of that yet.
  const BoundedRead now = read_bounded(path, kSettingsFileLimit);
  if (now.refused()) return message.arg(path, refusal_reason(now));
  const IniLines existing = split_lines(now.bytes);

  // Keep every other section and every unknown key of our own section in place.
  QStringList out;
  bool inside = false, written = false;
  for (const QString& line : existing.lines) {
    QString name;
    if (is_section_line(line, &name)) {
      inside = name.compare(section, Qt::CaseInsensitive) == 0;
      out << line;
      if (inside && !written) {
        out << ours;
        written = true;
      }
      continue;
    }
    if (inside) {
      int eq = line.indexOf(QLatin1Char('='));
      if (eq >= 0 && known.contains(line.left(eq).trimmed(), Qt::CaseInsensitive)) continue;
    }
    out << line;
  }
  if (!written) {
    // Before the first section, but after lines that stand in no section: in front of them our
    // heading would take them into our section.
    qsizetype at = 0;
    while (at < out.size() && !is_section_line(out[at], nullptr)) ++at;
    QStringList block = {QStringLiteral("[%1]").arg(section)};
    block << ours;
    for (qsizetype k = block.size() - 1; k >= 0; --k) out.insert(at, block[k]);
  }

  // The per-user folder does not exist before the first exit.
  const QString folder = QFileInfo(path).absolutePath();
  if (!QFileInfo(folder).isDir()) {
    const QString error = make_folder(folder);
    if (!error.isEmpty()) return message.arg(path, error);
  }
  const QByteArray bytes = out.join(QLatin1String("\r\n")).toLatin1() + "\r\n";
  const WriteResult result = write_file_replacing(path, existing.byte_order_mark ? kByteOrderMark + bytes : bytes);
  if (result.ok) return {};
  return message.arg(path, result.system_error);
}

QString read_ini_value(const QString& path, const QString& section, const QString& key) {
  // The values read this way are device paths: bytes in the file system's encoding.
  return QFile::decodeName(value_in(read_lines(path), section, key).toLatin1());
}

}  // namespace pulvitra
