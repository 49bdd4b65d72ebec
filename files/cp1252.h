// Single-byte Windows-1252 text, as the recording files store patient texts: one byte per
// character, no length byte.
#pragma once

#include <QByteArray>
#include <QString>

namespace pulvitra {

// One byte per character. Characters that the code page lacks become "?", so a text always
// keeps its length in characters and fixed-width fields stay aligned.
QByteArray to_cp1252(const QString& text);

// One character per byte; the five bytes the code page leaves unassigned map to the control
// characters of the same number, as the platform does.
QString from_cp1252(const QByteArray& bytes);

}  // namespace pulvitra
