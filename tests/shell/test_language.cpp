// The language texts as every window and message shows them: the index repaired to German,
// the line breaks of the multi-line messages, the exact blanks.
#include <gtest/gtest.h>

#include "shell/language.h"

using namespace pulvitra;

TEST(LanguageText, repairs_an_invalid_index_to_german) {
  cur_lang = kEnglish;
  EXPECT_EQ(lang_text("Zeit", "Time"), "Time");
  cur_lang = 0;
  EXPECT_EQ(lang_text("Zeit", "Time"), "Zeit");
  EXPECT_EQ(cur_lang, kGerman);
  cur_lang = 7;
  EXPECT_EQ(lang_text("Zeit", "Time"), "Zeit");
  EXPECT_EQ(cur_lang, kGerman);
}

TEST(LanguageText, multi_line_messages_have_an_empty_line_between_sentences) {
  cur_lang = kGerman;
  EXPECT_EQ(table_text("txt_file_multi"), QString::fromUtf8("Die geöffnete Datei enthält\r\n\r\nwahrscheinlich mehrere Messungen."));
  cur_lang = kEnglish;
  EXPECT_EQ(table_text("txt_no_device"),
            "Kordamat is wrong connected or not switched on!\r\n\r\nCheck Kordamat and connection and start transmission again!");
  EXPECT_EQ(table_text("txt_status_inactive"), "Inactive!");
  EXPECT_EQ(table_text("txt_rep_title"), "ECG evaluation report --------------- ");
  EXPECT_EQ(table_text("no such key"), "");
  cur_lang = kGerman;
}
