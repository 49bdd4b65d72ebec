// The view redraw: one operation draws any of the five views on the screen images or on a
// printer page. The same drawing code serves both targets; only the placement differs.
//
// The views themselves: overview_view.h, zoom_view.h, histogram_view.h (with the
// statistics), trend_view.h and lorenz_view.h; what they draw with is canvas.h, what they
// show view_state.h, and the printed page's layout units print_layout.h.
#pragma once

#include "recording/tekg.h"
#include "views/view_state.h"
#include "views/view_target.h"

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

// Draws the views of that kind on the target. Reads (and moves the page reader of) the
// recording; on the screen the overview ends with the selection rectangle drawn. Views that
// need beats (trend, histogram, statistics, Lorenz) are skipped while BeatCount is 0, so
// their images keep the previous drawing. On the printer the overview starts at
// state.overview_pos: the report draws from a copy of the state with the position at 0.
// Needs nothing but the state and the recording, so the redraw runs without any window.
void redraw_views(int kind, const ViewTarget& target, TEKG& ekg, const ViewState& state);

}  // namespace pulvitra
