// The two user-interface languages: the current language index, the text chooser for pairs
// written where they are used, and the table of message pairs looked up by key.
#pragma once

#include <QString>
#include <cstdint>

namespace pulvitra {

inline constexpr std::uint8_t kGerman = 1;
inline constexpr std::uint8_t kEnglish = 2;

// 1 = German, 2 = English. Settled on the start window, constant afterwards.
extern std::uint8_t cur_lang;

// The text for the current language. An index of 0 or above 2 is first repaired to 1.
QString lang_text(const QString& german, const QString& english);

// Fills the language table; the main window does this once at creation.
void fill_language_table();

// The table entry for the current language; an unknown key (or an empty table) gives "".
QString table_text(const QString& key);

// A file message followed, on a paragraph of its own, by what the system said went wrong
// ("No space left on device"), so that the user learns the actual cause; without a reason,
// the message alone.
QString with_system_reason(const QString& message, const QString& reason);

}  // namespace pulvitra
