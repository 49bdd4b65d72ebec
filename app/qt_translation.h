// Qt's own texts (standard buttons such as "Ja"/"Nein"/"Abbrechen", the file and print
// dialogs) in the program's language: German loads Qt's German translation, English needs
// none. The translation follows the language whenever it is applied again.
#pragma once

#include <cstdint>

namespace pulvitra {

// Installs Qt's translation for that language (1 German, 2 English) and removes the other
// one. Cheap when the language is already the applied one. False when the German
// translation is not installed on this system (Qt's texts then stay English).
bool apply_qt_translation(std::uint8_t language);

}  // namespace pulvitra
