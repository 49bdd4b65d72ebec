#include "files/patient_text.h"

namespace pulvitra {

namespace {

const QString& kept_characters() {
  static const QString kept = QString::fromUtf8(
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,/üöäÜÖÄ!?+-%()ß");
  return kept;
}

// The characters at the 1-based positions first..first+count-1 that exist.
QString copy(const QString& s, qsizetype first, qsizetype count) {
  if (first < 1) first = 1;
  if (count <= 0 || first > s.size()) return {};
  return s.mid(first - 1, count);
}

// Takes one dotted part off the front of s: the characters before the first "." (with a
// leading "0" when there is just one); s keeps the characters after that "." up to, not
// including, its last character.
QString take_part(QString& s) {
  const qsizetype dot = s.indexOf(QLatin1Char('.')) + 1;  // 0 when there is none
  QString part = copy(s, 1, dot - 1);
  if (part.size() == 1) part.prepend(QLatin1Char('0'));
  s = copy(s, dot + 1, s.size() - 1 - dot);
  return part;
}

QString two_digit_year(const QString& digits) {
  switch (digits.size()) {
    case 0: return QStringLiteral("00");
    case 1: return QLatin1Char('0') + digits;
    case 2: return digits;
    case 3: return digits.mid(1, 2);
    case 4: return digits.mid(2, 2);
    default: return digits;
  }
}

}  // namespace

QString clean_text(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char(' ')) {
      if (i > 0 && text[i - 1] != QLatin1Char(' ')) out.append(c);
    } else if (c != QChar(0) && kept_characters().contains(c)) {
      out.append(c);
    }
  }
  return out;
}

QString rebuild_date(const QString& field) {
  QString rest = field;
  QString result = take_part(rest) + QLatin1Char('.');
  result += take_part(rest) + QLatin1Char('.');
  QString digits;
  for (QChar c : rest)
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits.append(c);
  return result + two_digit_year(digits);
}

QString date_text(const QDate& date) {
  return QStringLiteral("%1.%2.%3")
      .arg(date.day(), 2, 10, QLatin1Char('0'))
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.year() % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace pulvitra
