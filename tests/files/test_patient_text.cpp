// The character filter and the date rules that decide how patient texts come back from a file.
#include <gtest/gtest.h>

#include "files/cp1252.h"
#include "files/patient_text.h"

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TEST(CleanText, keeps_the_allowed_characters_and_shrinks_blanks) {
  struct Case {
    QString in, out;
  } cases[] = {
      {u("Dr. Müller-Lüdenscheid (3/4)"), u("Dr. Müller-Lüdenscheid (3/4)")},
      {u("ÄÖÜäöüß !?+-%,"), u("ÄÖÜäöüß !?+-%,")},
      {u("  two leading"), u("two leading")},
      {u("a    b"), u("a b")},
      {u("x@ y"), u("x y")},     // the blank follows a dropped "@" in the input: kept
      {u("@ y"), u(" y")},        // ... also when the "@" was the first character
      {u("x @y"), u("x y")},
      {u("mail@host_name;#"), u("mailhostname")},
      {QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"), u("abcd")},
      {u("Straße 5 ") + QChar(0) + u("  "), u("Straße 5  ")},  // the stored padding comes back as two blanks
      {u("é€ñ"), u("")},
      {u(""), u("")},
  };
  for (const Case& c : cases) EXPECT_EQ(clean_text(c.in), c.out) << c.in.toStdString();
}

TEST(DateText, writes_two_digits_each_with_the_year_modulo_100) {
  EXPECT_EQ(date_text(QDate(2005, 3, 7)), u("07.03.05"));
  EXPECT_EQ(date_text(QDate(1999, 12, 31)), u("31.12.99"));
  EXPECT_EQ(date_text(QDate(2000, 1, 1)), u("01.01.00"));
  EXPECT_EQ(date_text(QDate(2026, 10, 4)), u("04.10.26"));
}

TEST(RebuildDate, repairs_the_stored_date_field) {
  // The 12 characters as they stand in the file: the text, a blank, a zero byte, blanks.
  auto stored = [](const char* text) {
    return (u(text) + QChar(' ') + QChar(0) + QString(12, QChar(' '))).left(12);
  };
  struct Case {
    const char* typed;
    const char* read_back;
  } cases[] = {
      {"12.10.99", "12.10.99"},   {"1.2.1999", "01.02.99"},   {"", "..00"},
      {"1.2.3", "01.02.03"},      {"5.11.123", "05.11.23"},   {"1.2.12345", "01.02.12345"},
      {"150399", "..150399"},     {" 4.10.99", " 4.10.99"},   {"04.10.99", "04.10.99"},
  };
  for (const Case& c : cases) EXPECT_EQ(rebuild_date(stored(c.typed)), u(c.read_back)) << c.typed;
}

TEST(Cp1252, maps_every_byte_to_one_character_and_back) {
  QByteArray all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  const QString text = from_cp1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(to_cp1252(text), all);
}

TEST(Cp1252, uses_the_code_page_bytes_for_german_and_typographic_characters) {
  struct Case {
    QString text;
    QByteArray bytes;
  } cases[] = {
      {u("äöüÄÖÜß"), QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF")},
      {u("€„“–…"), QByteArray("\x80\x84\x93\x96\x85")},
      {u("Łódź"), QByteArray("?\xF3" "d?")},    // letters the code page lacks: one "?" each
      {u("a😀b"), QByteArray("a?b")},           // outside the basic plane: still one byte
  };
  for (const Case& c : cases) EXPECT_EQ(to_cp1252(c.text), c.bytes) << c.text.toStdString();
}
