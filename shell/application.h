// The program's name as the user sees it: the caption of the windows, of most message boxes
// and of every print job.
#pragma once

namespace pulvitra {

inline const char* const kApplicationTitle = "Pulvitra 2.4-5";

}  // namespace pulvitra
