// What stands where an output is to go, looked at before any work is done: an output must
// never take the place of one of the command's inputs (also through a link or another path),
// and never of a FIFO, a device node or a folder, which a rename would replace by a plain file
// (or which would block the writer for ever).
#pragma once

#include <QString>
#include <QStringList>

namespace pulvitra {

// Whether the two names reach the same file (same device and inode, links followed).
bool same_file(const QString& a, const QString& b);

// The reason an output cannot go to path, worded in the current language and naming the
// file, or "" when it may: path is one of inputs, or is not a regular file.
QString output_refusal(const QString& path, const QStringList& inputs);

// Whether a new file could be created beside path now: a temporary file is made in its
// folder and removed again. reason gets the system's words when not.
bool output_folder_writable(const QString& path, QString& reason);

}  // namespace pulvitra
