// Export in the views' pop-up menu: the beat list (CSV) or the EDF+ file of the recording
// shown, to a file chosen in the save dialog.
#pragma once

namespace pulvitra {

class TMain;

// With fewer than two beats only the no-printable-data message; otherwise the save dialog
// (start folder data/, filters beat list and EDF+) and the file written through a temporary
// file. A failure shows the save-error message with the system's reason and leaves an
// existing file as it was.
void export_recording(TMain& main);

}  // namespace pulvitra
