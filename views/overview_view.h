// The overview: the recording page by page as a stack of strips, with the recorder's pace,
// event and begin/end marks, so the user can spot where to zoom in.
#pragma once

#include <QPainter>

#include "recording/page_reader.h"
#include "views/screen_image.h"

namespace pulvitra {

struct OverviewPlacement {
  int left = 5;             // L, left edge of the strips
  int top = 5;              // T, top edge of the first strip
  int width = 540;          // W, width of a strip
  int height = 392;         // H, height of all strips together
  int strips = 4;           // R
  int pages_per_strip = 8;  // P; a strip shows P + 1 columns, the last repeats the next strip's first page
  int average = 3;          // d, samples averaged into one plotted point
  // Device pixels per window pixel: the frames, the marks and the fixed offsets within a strip
  // (the 6 pixels below its base line, where the trace starts) grow with it. 1 on paper.
  double ratio = 1.0;
  bool printer = false;     // black frames, one sample per point, no background fill
};

// The screen placement in device pixels in an image of that scale: the defaults above at
// 545 x 398 and ratio 1. A taller image shows more strips (overview_rows), a wider one wider
// strips with fewer samples to a point.
OverviewPlacement screen_overview_placement(const ScreenScale& scale);

// The printer placement on a page of pw x ph pixels, from the page layout units.
OverviewPlacement printer_overview_placement(int pw, int ph);

// Draws the overview with the first visible strip `position` (0..overview_last_position). Reads the pages with
// the page reader, which is left at the last page read.
void draw_overview(QPainter& painter, const TEKG& ekg, PageReader& reader, const OverviewPlacement& placement,
                   int position);

}  // namespace pulvitra
