// Where the program keeps its files (settings, help, data/): the executable's folder, or the
// folder in PULVITRA_HOME when that is set. Always ends with "/".
#pragma once

#include <QString>

namespace pulvitra {

QString program_folder();

// The application title, used as the caption of the windows and of most message boxes.
inline const char* const kApplicationTitle = "Pulvitra 2.4-5";

}  // namespace pulvitra
