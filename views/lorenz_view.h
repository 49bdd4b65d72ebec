// The Lorenz diagram: the period of each odd beat against the period of the beat after it,
// both on 300..1500 ms, with the identity diagonal for reference.
// Called by redraw_views for kinds 0 and 4.
#pragma once

#include <QPainter>

#include "views/screen_image.h"
#include "recording/tekg.h"
#include "views/redraw.h"

namespace pulvitra {

struct LorenzPlacement {
  int L = 39;  // left edge of the plot
  int T = 8;   // top edge
  int U = 31;  // vertical pixels per 100 ms
  int V = 31;  // horizontal pixels per 100 ms
  int d = 3;   // half size of a cross
};

// Screen: painter on Image5 (452 x 412). Printer: target.page. Leaves the drawing untouched
// when BeatCount is 0.
void draw_lorenz(QPainter& painter, const TEKG& ekg, const ViewTarget& target);

LorenzPlacement lorenz_placement(QPainter& painter, const ViewTarget& target);

// The screen placement in an image of that scale (the defaults above at the first size, ratio 1),
// in device pixels: the plot stays square, its unit the largest that fits the grown width and
// height both, the crosses' half size d = U div 9.
LorenzPlacement screen_lorenz_placement(const ScreenScale& scale);

}  // namespace pulvitra
