// The histogram section: heart-rate bars of all beats, coloured by the two limits, with the
// statistics of the beats between them (a panel on the screen, a block on the printed page).
// Called by redraw_views for kinds 0 and 3 (whole section) and 6 (statistics only).
#pragma once

#include <QPainter>

#include "views/screen_image.h"
#include "analysis/statistics.h"
#include "views/view_target.h"

namespace pulvitra {

// Where the plot lies: screen values or the printer values computed from the page.
struct HistogramPlacement {
  int L = 25;   // left edge of the plot
  int T = 15;   // top edge
  int W = 539;  // plot width
  int H = 186;  // plot height
  int tick = 3;   // the axis ticks reach tick + 1 below the plot: H div 54 of the first screen size
  int panel_top = 231;  // top of the screen's statistics panel, as far from the image's bottom as at first
  int title_y = 0;  // printed title: top of its text (no title on the screen)
};

// Draws the bins and statistics of the recording's evaluation between the view state's
// limits. Screen: painter on Image4 (590 x 289). Printer: target.page, painter in the font the
// previous view left.
void draw_histogram(QPainter& painter, const BeatStatistics& stats, const ViewTarget& target,
                    bool statistics_only);

// Placement for the target; on the printer TH("X") is measured in the painter's font.
HistogramPlacement histogram_placement(QPainter& painter, const ViewTarget& target);

// The screen placement in an image of that scale (the defaults above at the first size, ratio 1),
// in device pixels. The plot grows by what the image has grown, and its bins with it: bin k
// (15..90, the limits' positions) begins at x = L + (k - 14) * (W div 77).
HistogramPlacement screen_histogram_placement(const ScreenScale& scale);

// How far the bins reach on the screen plot of an image of that size in window pixels at that
// pixel ratio, from the plot's left edge, in window pixels: 77 bin widths (539 at the first size,
// ratio 1). The limit bars span as much.
int screen_histogram_bins_width(ImageSize logical, double ratio);

}  // namespace pulvitra
