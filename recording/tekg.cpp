#include "recording/tekg.h"

namespace pulvitra {


void clear_recording(TEKG& ekg) {
  ekg.Image.fill(125);
  for (auto& page : ekg.Pages) page.fill(125);
  ekg.BeatRate.fill(0.0f);
  ekg.PageRate.fill(0);
  ekg.BeatFlags.fill(0);
  ekg.BeatCount = 1;
  ekg.ReadPos = 1;
  ekg.FileName = "default.pul";
}

}  // namespace pulvitra
