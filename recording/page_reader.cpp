#include "recording/page_reader.h"

#include "recording/device_codes.h"

namespace pulvitra {

namespace {

// From this column on a code byte is returned like a sample.
constexpr int kPageCodeLimit = 269;

// Byte of the current page at a column; a column past the page's end reads as the end mark's
// argument, so a code in the last column ends the page instead of reading past it.
std::uint8_t page_byte(const TEKG& ekg, const PageReader& reader, int column) {
  return column <= kPageBytes ? ekg.Pages[reader.CurPage][column] : kEndMarkArgument;
}

// Consumes the code at the reader's column. Returns false when the page ends there.
bool consume_page_code(const TEKG& ekg, PageReader& reader) {
  const int column = reader.ReadPos;
  switch (page_byte(ekg, reader, column)) {
    case kCodeSkip251:
      reader.ReadPos += 1;
      return true;
    case kCodeRateMarker:
      reader.ReadPos += 2;
      return true;
    case kCodePace:
      reader.ReadPos += 1;
      reader.marks.SawCode253 = true;
      return true;
    case kCodeEvent: {
      if (column + 1 > kPageBytes) return false;  // the argument is missing: end of the page
      const std::uint8_t argument = page_byte(ekg, reader, column + 1);
      if (argument == kEndMarkArgument) return false;
      if (argument == 0) {
        reader.marks.SawCode254 = true;
      } else {
        reader.PageBeatValue = argument;
        reader.PageBeatSeen = true;
      }
      reader.ReadPos += 2;
      return true;
    }
    case kCodeStartRecord:
      if (column + 1 > kPageBytes) return false;  // the look-ahead byte is missing
      if (page_byte(ekg, reader, column + 1) == 0) {
        reader.ReadPos += 4;
        reader.marks.SawStartRecord = true;
      } else {
        reader.ReadPos += 1;
      }
      return true;
    default:
      return true;
  }
}

std::uint8_t end_of_page(PageReader& reader) {
  reader.PageEnd = true;
  return 0;
}

bool column_on_page(int column) { return column >= 1 && column <= kPageBytes; }

}  // namespace

void PageReader::start_page(int page) {
  CurPage = static_cast<std::uint16_t>(page);
  ReadPos = 0;
  PageEnd = false;
}

std::uint8_t NextPageSample(const TEKG& ekg, PageReader& reader) {
  reader.ReadPos += 1;
  if (reader.CurPage < 1 || reader.CurPage > kPageCount) return end_of_page(reader);
  for (;;) {
    if (!column_on_page(reader.ReadPos)) return end_of_page(reader);
    if (!consume_page_code(ekg, reader)) return end_of_page(reader);
    if (!(reader.ReadPos < kPageCodeLimit && page_byte(ekg, reader, reader.ReadPos) >= kFirstCode)) break;
  }
  if (!column_on_page(reader.ReadPos)) return end_of_page(reader);
  return ekg.Pages[reader.CurPage][reader.ReadPos];
}

}  // namespace pulvitra
