// The view redraw: one operation draws any of the five views on the screen images or on a
// printer page. The same drawing code serves both targets; only the placement differs.
//
// The views themselves: overview_view.h, zoom_view.h, histogram_view.h (with the
// statistics), trend_view.h and lorenz_view.h; the printed page's layout units are
// chart::print_units in chart_paint.h.
#pragma once

#include <QImage>
#include <QPainter>

#include "recording/tekg.h"

namespace pulvitra {

enum ViewKind : int {
  kViewAll = 0,
  kViewOverview = 1,
  kViewTrend = 2,
  kViewHistogram = 3,
  kViewLorenz = 4,
  kViewZoom = 5,
  kViewStatisticsOnly = 6,
};

// The state of the view controls that drawing reads (the rest lives in the recording).
struct ViewSettings {
  int overview_pos = 0;   // ScrollBar1, first visible strip 0..17
  int zoom_pos = 1;       // ScrollBar2, first zoom page 1..171
  int zoom_factor = 200;  // ComboBox1 text as an integer
  int scale = 0;          // RadioGroup3: 0 pulse period in ms, 1 heart rate per minute
  int axis = 0;           // RadioGroup1: 0 time, 1 device pages
  int limit1 = 15;        // TrackBar1 position, units of 2 beats per minute
  int limit2 = 90;        // TrackBar2 position
};

// The screen images of the views (any may be null: that view is then not drawn).
struct ScreenImages {
  QImage* zoom = nullptr;       // Image1, 550 x 313
  QImage* overview = nullptr;   // Image2, 545 x 398
  QImage* trend = nullptr;      // Image3, 595 x 366
  QImage* histogram = nullptr;  // Image4, 590 x 289
  QImage* lorenz = nullptr;     // Image5, 452 x 412
};

// A printer page: any paint device, with its page size in device pixels.
struct PrinterPage {
  QPainter* painter = nullptr;
  int width = 0;
  int height = 0;
};

struct ViewTarget {
  bool printer = false;
  ScreenImages screen;
  PrinterPage page;
};

// Draws the views of that kind on the target. Reads (and moves the page reader of) the
// recording; on the screen the overview ends with the selection rectangle drawn. Views that
// need beats (trend, histogram, statistics, Lorenz) are skipped while BeatCount is 0, so
// their images keep the previous drawing. On the printer the overview starts at
// settings.overview_pos: the report sets the overview scroll bar to 0 first.
void redraw_views(int kind, const ViewTarget& target, TEKG& ekg, const ViewSettings& settings);

}  // namespace pulvitra
