// The view redraw: one operation draws any of the views (views/view_table.h) on the screen
// images or on a printer page. The same drawing code serves both targets; only the placement
// differs.
//
// The views themselves: overview_view.h, zoom_view.h, histogram_view.h (with the
// statistics), trend_view.h and lorenz_view.h; what they draw with is canvas.h, what they
// show view_state.h, and the printed page's layout units print_layout.h.
#pragma once

#include "recording/page_reader.h"
#include "recording/tekg.h"
#include "views/view_state.h"
#include "views/view_table.h"
#include "views/view_target.h"

namespace pulvitra {

// Draws the views of that kind (kViewAll: every view with a page) on the target, reading the
// recording only. Views that need beats (trend, histogram, statistics, Lorenz) are skipped
// while BeatCount is 0, so their images keep the previous drawing. The page reader starts
// from the marks in target.marks and leaves its unshown marks there; it is returned as the
// drawing left it (the overview's last page read, the page after the zoom's last one).
// Needs nothing but the state and the recording, so the redraw runs without any window.
PageReader redraw_views(int kind, const ViewTarget& target, const TEKG& ekg, const ViewState& state);

}  // namespace pulvitra
