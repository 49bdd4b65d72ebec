// The page reader: walks one page of the page table sample by sample for the views, and
// reports the beat marks and the recorder's marks it passes. Its position is the drawing's
// own value; the recording is only read.
#pragma once

#include <cstdint>

#include "recording/tekg.h"

namespace pulvitra {

// The recorder's marks a reader has met but nobody has acted on yet. The decoder's image
// reader gives them to the next beat; a view draws and clears them. What one reading leaves
// goes on to the next one: a mark met just before a page ends shows at the next point drawn.
struct DeviceMarks {
  bool SawCode253 = false;       // a pace mark 253
  bool SawCode254 = false;       // an event 254 (in the page table 254 0)
  bool SawStartRecord = false;   // a start record 255 0 x x
  bool operator==(const DeviceMarks&) const = default;
};

struct PageReader {
  std::uint16_t CurPage = 1;        // the page being read; pages outside 1..180 are empty
  std::uint16_t ReadPos = 0;        // its column of the last sample read
  std::uint16_t PageBeatValue = 0;  // the rate byte of the last beat mark met
  bool PageBeatSeen = false;        // a beat mark met since the caller cleared it
  bool PageEnd = false;             // the page is exhausted
  DeviceMarks marks;

  // Starts reading `page` from its first column; the marks and beat mark stay as they are.
  void start_page(int page);
};

// Returns the next sample of reader.CurPage (0..250), or 0 at the end with PageEnd set, and
// sets PageBeatSeen/PageBeatValue and the marks on the way. A code in column 300, whose
// argument would lie beyond the page, ends it.
std::uint8_t NextPageSample(const TEKG& ekg, PageReader& reader);

}  // namespace pulvitra
