#include "files/cp1252.h"

#include <QList>
#include <array>

namespace pulvitra {

namespace {

// Bytes 0x80..0x9F; everything else is the same number in Unicode.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char byte_of(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == code) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

QByteArray to_cp1252(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  // Iterating code points keeps a character outside the basic plane to one "?".
  for (char32_t code : text.toUcs4()) out.append(byte_of(code));
  return out;
}

QString from_cp1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.append(QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t{b}));
  }
  return out;
}

}  // namespace pulvitra
