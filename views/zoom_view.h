// The zoom: a few consecutive pages at full resolution with a time (or page) axis, every
// beat with its pulse period or heart rate, and the recorder's marks.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QString>

#include "recording/tekg.h"
#include "shell/language.h"
#include "recording/page_reader.h"
#include "views/screen_image.h"

namespace pulvitra {

// Where the zoom draws, in pixels of its device. The screen's trace is measured in units of
// the first-size picture (a page slot is 180 units wide at 100 %, the values span 256) and
// scaled alike both ways; the printer scales them to its page.
struct ZoomPlacement {
  int x0 = 0;           // added to every x
  int y0 = -30;         // added to every y
  double width = 540;   // horizontal scale width / 540
  double height = 366;  // vertical scale height / 366
  int image_width = 550;
  int image_height = 313;
  // Vertical extents that differ between screen and printer.
  int frame_top = 25, frame_bottom = 281;          // frame around the trace
  int beat_line_top = 25, beat_line_bottom = 282;  // etched beat lines (bottom excluded)
  int mark_top = 26, mark_bottom = 281;            // device marks (bottom excluded)
  int tick_top = 282, tick_bottom = 287;           // second ticks
  int time_label_top = 290;
  int beat_label_top = 10;
  QPoint trace_start{6, 153};    // the trace's first line begins at mid-height
  double beat_label_shift = 2;   // the beat label begins that many units (before scaling) left of its line
  double trace_widths = 1;       // the frame is that many times 540 units wide: the pages fill it
  int line_width = 1;            // frames, ticks, marks and each part of an etched line
  bool printer = false;
  int frame_left = 5, frame_right = 545;  // printer frame corners (screen: the bevel)
};

struct ZoomOptions {
  int first_page = 1;  // ScrollBar2
  int factor = 200;    // ComboBox1, percent; below 25 counts as 25
  int scale = 0;       // 0 labels beats with the pulse period in ms, 1 with the heart rate
  int axis = 0;        // 0 labels the ticks with the time, 1 with the device page
  Language language = kGerman;  // of the printed title
};

// The screen placement in an image of that scale (550 x 313 at ratio 1: the defaults above).
// A larger image shows larger pages, as large as both its width and height allow, and more of
// them when its width has room to spare; every length is ratio times as many device pixels.
ZoomPlacement screen_zoom_placement(const ScreenScale& scale);

// The landscape printer placement on a page of pw x ph pixels. The painter's font must be
// the 6 pt printer font: the label offsets are measured in it.
ZoomPlacement printer_zoom_placement(QPainter& painter, int pw, int ph);

// Pages drawn at a zoom factor: 300 / factor rounded, halves to even; a frame of more than one
// first-size trace width holds that many times as many.
int zoom_page_count(int factor, double trace_widths = 1);

// The time label of a tick at tn milliseconds: minutes and two-digit seconds ("1:02").
QString zoom_time_label(float tn);

// The beat label: the pulse period in ms (a multiple of 5) or the rate byte itself.
QString zoom_beat_label(int rate_byte, int scale);

// Draws the zoom. Starts at options.first_page and leaves the reader's CurPage at the page
// after the last one drawn.
void draw_zoom(QPainter& painter, const TEKG& ekg, PageReader& reader, const ZoomPlacement& placement,
               const ZoomOptions& options);

}  // namespace pulvitra
