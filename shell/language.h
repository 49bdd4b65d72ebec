// The two user-interface languages: the program's language, the text chooser for pairs
// written where they are used, and the table of message pairs looked up by key. Texts that
// belong to a page or picture printed in a chosen language are looked up with that language;
// the windows and messages use the program's.
#pragma once

#include <QString>
#include <cstdint>

namespace pulvitra {

// 1 = German, 2 = English; any other index counts as German.
using Language = std::uint8_t;
inline constexpr Language kGerman = 1;
inline constexpr Language kEnglish = 2;

// The program's language. Settled on the start window (or by pulvitra-cli's --language),
// constant afterwards.
extern Language cur_lang;

// The text for that language.
QString lang_text(Language language, const QString& german, const QString& english);
// The text for the program's language. An index of 0 or above 2 is first repaired to 1.
QString lang_text(const QString& german, const QString& english);

// The table entry for that language; an unknown key gives "".
QString table_text(Language language, const QString& key);
// The table entry for the program's language.
QString table_text(const QString& key);

// A file message followed, on a paragraph of its own, by what the system said went wrong
// ("No space left on device"), so that the user learns the actual cause; without a reason,
// the message alone.
QString with_system_reason(const QString& message, const QString& reason);

}  // namespace pulvitra
