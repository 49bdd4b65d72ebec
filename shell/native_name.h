// File names as the system hands them over: bytes. This program's names are Unicode, and a
// name with a byte that is no UTF-8 (an old Latin-1 name with 0xFF, say) would turn into a
// different name on the way, which names no file or, worse, another one.
#pragma once

#include <QByteArray>
#include <QString>

namespace pulvitra {

// Whether the bytes come back unchanged from a Unicode name.
bool is_faithful_name(const QByteArray& native);

// A name to read an existing file by. A faithful name stays as it is. A file with any other
// name is opened once and reached through its descriptor (/proc/self/fd/N), which stays open
// as long as the program runs; never write through such a name. When the file cannot be
// opened, the name as Unicode (which then names no file, and errors say so).
QString readable_name(const QByteArray& native);

// Whether readable_name made this name, or its shown name, from bytes that are no UTF-8: such a
// name must never be written to, since it does not name the file the user named.
bool is_stand_in(const QString& name);

// The name to show for a name readable_name gave: the file's own name, with a replacement
// character for each byte that is no UTF-8.
QString shown_name(const QString& name);

}  // namespace pulvitra
