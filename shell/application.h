// The program's name as the user sees it: the caption of the windows, of most message boxes
// and of every print job.
#pragma once

#include "shell/version.h"

namespace pulvitra {

inline const char* const kApplicationTitle = "Pulvitra " PULVITRA_TITLE_VERSION;

}  // namespace pulvitra
