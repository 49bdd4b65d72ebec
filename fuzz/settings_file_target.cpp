// The settings file as another program or an editor may have left it: read at start, written
// at exit, read at the next start.
#include <QFile>
#include <QStringList>

#include "fuzz/fuzz_targets.h"
#include "shell/settings.h"

namespace pulvitra::fuzz {
namespace {

const QStringList kOwnKeys = {"Assist", "ComPort", "Max_Baudrate", "Language", "BackGround"};

// A byte-order mark at the start belongs to no line: the program skips it and writes it back.
QStringList lines_of(QByteArray bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QString text = QString::fromLatin1(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// The lines the program does not own: every line except the five keys in its own section.
QStringList foreign_lines(const QStringList& lines) {
  QStringList foreign;
  bool own_section = false;
  for (const QString& line : lines) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
      own_section = trimmed.mid(1, trimmed.size() - 2).trimmed().compare(QLatin1String(kSettingsSection),
                                                                         Qt::CaseInsensitive) == 0;
    } else if (own_section) {
      const int eq = line.indexOf(QLatin1Char('='));
      if (eq >= 0 && kOwnKeys.contains(line.left(eq).trimmed(), Qt::CaseInsensitive)) continue;
    }
    foreign << line;
  }
  return foreign;
}

QByteArray file_bytes(const QString& path) {
  QFile file(path);
  require(file.open(QIODevice::ReadOnly), "the written settings file can be read");
  return file.readAll();
}

bool same_settings(const Settings& a, const Settings& b) {
  return a.Assist == b.Assist && a.ComPort == b.ComPort && a.MaxBaud == b.MaxBaud && a.Language == b.Language &&
         a.BackGround == b.BackGround && a.Ports == b.Ports;
}

}  // namespace

int fuzz_settings_file(const std::uint8_t* data, std::size_t size) {
  const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = scratch_file("Pulvitra.ini", data, size);
  const Settings first = read_settings(path);
  // The window writes the port it shows; ComPort 1..8 names one of them.
  const QString port_name = QStringLiteral("COM%1").arg(first.ComPort);
  require(write_settings(path, first, port_name, first.Language).isEmpty(), "the settings file is written");
  const QByteArray written = file_bytes(path);

  Settings expected = first;
  expected.ComPort = com_port_number(port_name);
  require(same_settings(read_settings(path), expected), "the file written back reads as the settings it was read as");

  const QStringList kept = foreign_lines(lines_of(written));
  const QStringList before = foreign_lines(lines_of(original));
  // A file without the program's section gets its heading, before the first other section.
  QStringList kept_without_heading = kept;
  if (kept.size() == before.size() + 1) {
    qsizetype added = 0;
    while (added < before.size() && kept[added] == before[added]) ++added;
    require(kept[added].startsWith('['), "only the program's own section heading may be added");
    kept_without_heading.removeAt(added);
  }
  require(kept_without_heading == before, "the lines the program does not own come back byte for byte, in their order");

  require(write_settings(path, read_settings(path), port_name, first.Language).isEmpty(), "written a second time");
  require(file_bytes(path) == written, "writing the settings read back changes nothing");
  return 0;
}

}  // namespace pulvitra::fuzz
