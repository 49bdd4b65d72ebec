// The trend diagram: heart rate of every beat over elapsed time on a 40..160 per minute
// scale, with begin/end and event marks and a seconds scale restarting at every begin/end mark.
// Called by redraw_views for kinds 0 and 2.
#pragma once

#include <QPainter>

#include "views/screen_image.h"
#include "recording/tekg.h"
#include "views/redraw.h"

namespace pulvitra {

struct TrendPlacement {
  int L = 40;   // left edge of the plot
  int T = 7;    // top edge
  int W = 544;  // plot width
  int U = 27;   // pixels per 10 beats per minute
};

// Screen: painter on Image3 (595 x 366). Printer: target.page. Leaves the drawing untouched
// when BeatCount is 0.
void draw_trend(QPainter& painter, const TEKG& ekg, const ViewTarget& target);

TrendPlacement trend_placement(QPainter& painter, const ViewTarget& target);

// The screen placement in an image of that scale (the defaults above at the first size, ratio 1),
// in device pixels: W grows with the image's width, U with its height, leaving the seconds
// labels below the plot room that grows with U.
TrendPlacement screen_trend_placement(const ScreenScale& scale);

// The bottom of the printed trend's seconds labels, for the view printed below it: the trend
// is placed in the 6 pt font the report header leaves and writes its labels at 7 pt.
int printed_trend_bottom(QPainter& painter, const ViewTarget& target);

}  // namespace pulvitra
