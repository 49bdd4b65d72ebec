#include "recording/tekg.h"

namespace pulvitra {

void clear_recording(TEKG& ekg) {
  ekg.Image.fill(125);
  clear_pages(ekg);
  ekg.BeatRate.fill(0.0f);
  ekg.BeatFlags.fill(0);
  ekg.BeatCount = 1;
  ekg.FileName = "default.pul";
}

void clear_pages(TEKG& ekg) {
  for (auto& page : ekg.Pages) page.fill(125);
  ekg.PageStartBlock.fill(0);
  ekg.PageRate.fill(0);
  ekg.PageTime.fill(0.0f);
}

}  // namespace pulvitra
