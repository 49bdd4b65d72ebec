// The character filter and the code page that decide how patient texts come back from a file.
#include <gtest/gtest.h>

#include "files/cp1252.h"
#include "files/patient_text.h"

using namespace pulvitra;

namespace {
QString u(const char* text) { return QString::fromUtf8(text); }
}  // namespace

TEST(CleanText, keeps_the_allowed_characters_and_shrinks_blanks) {
  const std::pair<QString, QString> cases[] = {
      {u("Dr. Müller-Lüdenscheid (3/4) ÄÖÜäöüß !?+-%,"), u("Dr. Müller-Lüdenscheid (3/4) ÄÖÜäöüß !?+-%,")},
      {u("  two leading"), u("two leading")},
      {u("a    b"), u("a b")},
      {u("x@ y"), u("x y")},   // a blank after a dropped character stays ...
      {u("@ y"), u(" y")},      // ... even when that character came first
      {u("mail@host_name;#é€"), u("mailhostname")},
      {u("Straße 5 ") + QChar(0) + u("  "), u("Straße 5  ")},  // stored padding: two blanks
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(clean_text(in), out) << in.toStdString();
}

TEST(DateText, writes_two_digits_each_with_the_year_modulo_100) {
  EXPECT_EQ(date_text(QDate(2005, 3, 7)), u("07.03.05"));
  EXPECT_EQ(date_text(QDate(2000, 12, 31)), u("31.12.00"));
}

TEST(Cp1252, stores_one_code_page_byte_per_character) {
  QByteArray all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  EXPECT_EQ(to_cp1252(from_cp1252(all)), all);
  const std::pair<QString, QByteArray> cases[] = {
      {u("äöüÄÖÜß"), QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF")},
      {u("€„“–…"), QByteArray("\x80\x84\x93\x96\x85")},
      {u("Łódź😀"), QByteArray("?\xF3" "d??")},  // missing letters: one "?" each, keeping the length
  };
  for (const auto& [text, bytes] : cases) EXPECT_EQ(to_cp1252(text), bytes) << text.toStdString();
}
