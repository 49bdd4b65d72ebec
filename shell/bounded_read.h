// Reading the small files the program depends on (the settings file, the help files, the
// desktop's list of user folders) so that none of them can stop or swamp it: only a regular
// file is read, and only up to a size the program can use. A named pipe, a device such as
// /dev/zero, a folder or a file beyond the limit is refused with its reason; nothing is ever
// opened in a way that waits for a writer.
#pragma once

#include <QByteArray>
#include <QString>

namespace pulvitra {

// No settings file of this program comes near it; anything bigger is not one of ours.
inline constexpr qint64 kSettingsFileLimit = 1024 * 1024;
// The help files are a few hundred kB of HTML; the limit leaves room for pictures in them.
inline constexpr qint64 kHelpFileLimit = 16 * 1024 * 1024;

enum class ReadRefusal {
  None,        // read whole
  Missing,     // nothing there (also a link that leads nowhere)
  NotRegular,  // a named pipe, a device, a folder or a socket
  TooBig,      // larger than the limit
  Failed,      // the system refused to open or read it
};

struct BoundedRead {
  QString path;
  ReadRefusal refusal = ReadRefusal::Missing;
  QByteArray bytes;        // the whole file when refusal is None
  unsigned file_type = 0;  // what lies there (the S_IFMT bits of its mode) when NotRegular
  int system_error = 0;    // the errno of a failed open or read
  qint64 limit = 0;        // the limit the file was read with

  bool read() const { return refusal == ReadRefusal::None; }
  // There is something, but it was not read: the caller must not take it for absent, and
  // must not write over it as if it were its own.
  bool refused() const { return refusal != ReadRefusal::None && refusal != ReadRefusal::Missing; }
};

// Reads at most limit bytes of a regular file. What lies at path is looked at before it is
// opened, so a device is never opened at all; the open itself does not block (O_NONBLOCK), and
// the opened file is looked at again, in case it was swapped in between.
BoundedRead read_bounded(const QString& path, qint64 limit);

// Why a file was not read, in the current language, to follow "... was not read: " or
// "... could not be written: ". "" when it was read or is missing.
QString refusal_reason(const BoundedRead& result);

}  // namespace pulvitra
