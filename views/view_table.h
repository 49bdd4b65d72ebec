// The views of the program, one row each: what the command line calls it, the caption of its
// page in the window, the size of its screen image, whether it needs beats and how it is
// drawn. The window, `pulvitra-cli render` and the reports all read this one table.
#pragma once

#include <QPainter>
#include <QString>
#include <vector>

#include "recording/page_reader.h"
#include "recording/tekg.h"
#include "views/screen_sizes.h"
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

// Draws one view on the target: on the printer page, or on its screen image (none: not
// drawn). The views that read pages go on with the reader as the view before left it.
using DrawView = void (*)(const ViewTarget& target, const TEKG& ekg, const ViewState& state, PageReader& reader);

struct ViewDescription {
  int kind;
  // Its place among the window's view pages, which follow the patient and device pages, and
  // on the command line; -1 for a part that only a report prints on its own.
  int page;
  const char* name;     // on the command line
  const char* german;   // caption of its page
  const char* english;
  ImageSize size;                  // of its screen image
  QImage* ScreenImages::*image;    // its screen image in a target
  bool needs_beats;  // not drawn while the recording holds no beat: the image keeps its picture
  DrawView draw;
};

// In the order a redraw of all views draws them: the zoom before the overview, whose first
// point shows the marks the zoom's last page left.
const std::vector<ViewDescription>& view_table();

// The views with a page of their own, in the order of the pages.
std::vector<const ViewDescription*> views_with_pages();

// The row of that kind, or nullptr.
const ViewDescription* view_of_kind(int kind);

// The view's image in a main window of that size, in window pixels: it grows by as much as
// the window has grown, except that the Lorenz diagram, which is square, widens only as far as
// it can use, so the variability beside it stays next to it.
ImageSize grown_image_size(const ViewDescription& view, ImageSize window);

}  // namespace pulvitra
