// Replacing a file without ever leaving half of it: the bytes go to a temporary file in the
// target's folder, which then takes the target's place. The settings file, recording files and
// the help copy are all written this way.
#pragma once

#include <QByteArray>
#include <QString>

namespace pulvitra {

struct WriteResult {
  bool ok = false;
  QString system_error;  // the system's reason when not ok
};

// The temporary file is synced before it takes the target's name, and the folder after. A
// failure at any point (cannot create, disk full, write error, sync error) leaves a previous
// file exactly as it was and no temporary file behind; system_error then holds the system's
// reason. A target the user has protected against writing is refused, although a rename could
// pass over it, and so is a target that is no regular file (a FIFO, a device node, a folder).
WriteResult write_file_replacing(const QString& path, const QByteArray& bytes);

}  // namespace pulvitra
