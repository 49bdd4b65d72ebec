// Where the program keeps its files (settings, help, data/): the executable's folder, or the
// folder in PULVITRA_HOME when that is set. Always ends with "/".
#pragma once

#include <QString>

namespace pulvitra {

QString program_folder();

}  // namespace pulvitra
