// The captions of the wizard, German as designed and English, page by page in the order the
// pages show them top to bottom. The window builds its controls with the German texts and
// applies the English ones at creation when the chosen language is English.
#pragma once

#include <QString>
#include <vector>

#include "app/captions.h"

namespace pulvitra {

// Every captioned control of the wizard; "window" is the window title.
const std::vector<CaptionEntry>& wizard_captions();

// The German design caption of a control of the table ("" for a name it does not hold).
QString wizard_german_caption(const char* control);

}  // namespace pulvitra
