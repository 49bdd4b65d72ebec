#include "views/view_table.h"

#include <algorithm>

#include "analysis/evaluation.h"
#include "views/canvas.h"
#include "views/screen_image.h"
#include "views/histogram_view.h"
#include "views/lorenz_view.h"
#include "views/overview_view.h"
#include "views/selection.h"
#include "views/trend_view.h"
#include "views/zoom_view.h"

namespace pulvitra {

namespace {

void draw_zoom_on(const ViewTarget& target, const TEKG& ekg, const ViewState& state, PageReader& reader) {
  const ZoomOptions options{state.zoom_pos, state.zoom_factor, state.scale, state.axis, target.language};
  if (target.printer) {
    QPainter& painter = *target.page.painter;
    set_point_size(painter, 6);
    draw_zoom(painter, ekg, reader, printer_zoom_placement(painter, target.page.width, target.page.height), options);
    return;
  }
  if (!target.screen.zoom) return;
  QPainter painter(target.screen.zoom);
  draw_zoom(painter, ekg, reader, screen_zoom_placement(screen_scale(*target.screen.zoom, target.screen.pixel_ratio)),
            options);
}

// On the screen the overview ends with the selection rectangle drawn. On the printer it starts
// at state.overview_pos: the report draws from a copy of the state with the position at 0.
void draw_overview_on(const ViewTarget& target, const TEKG& ekg, const ViewState& state, PageReader& reader) {
  if (target.printer) {
    QPainter& painter = *target.page.painter;
    set_point_size(painter, 6);
    draw_overview(painter, ekg, reader, printer_overview_placement(target.page.width, target.page.height),
                  state.overview_pos);
    return;
  }
  if (!target.screen.overview) return;
  const ScreenScale scale = screen_scale(*target.screen.overview, target.screen.pixel_ratio);
  {
    QPainter painter(target.screen.overview);
    draw_overview(painter, ekg, reader, screen_overview_placement(scale), state.overview_pos);
  }
  toggle_selection(*target.screen.overview, state, scale);
}

// Runs a drawing on the printer page or on the view's screen image (none: not drawn).
template <typename Draw>
void on_target(const ViewTarget& target, QImage* screen_image, Draw draw) {
  if (target.printer) {
    draw(*target.page.painter);
    return;
  }
  if (!screen_image) return;
  QPainter painter(screen_image);
  draw(painter);
}

void draw_trend_on(const ViewTarget& target, const TEKG& ekg, const ViewState&, PageReader&) {
  on_target(target, target.screen.trend, [&](QPainter& p) { draw_trend(p, ekg, target); });
}

// The histogram with its statistics, or (for the Lorenz report) the statistics alone, of the
// recording's evaluation between the state's limits.
void draw_evaluation_on(const ViewTarget& target, const TEKG& ekg, const ViewState& state, bool statistics_only) {
  const Evaluation evaluation = evaluate(ekg, state.limit1, state.limit2);
  on_target(target, target.screen.histogram,
            [&](QPainter& p) { draw_histogram(p, evaluation.statistics, target, statistics_only); });
}

void draw_histogram_on(const ViewTarget& target, const TEKG& ekg, const ViewState& state, PageReader&) {
  draw_evaluation_on(target, ekg, state, false);
}

void draw_statistics_on(const ViewTarget& target, const TEKG& ekg, const ViewState& state, PageReader&) {
  draw_evaluation_on(target, ekg, state, true);
}

void draw_lorenz_on(const ViewTarget& target, const TEKG& ekg, const ViewState&, PageReader&) {
  on_target(target, target.screen.lorenz, [&](QPainter& p) { draw_lorenz(p, ekg, target); });
}

}  // namespace

const std::vector<ViewDescription>& view_table() {
  static const std::vector<ViewDescription> table = {
      {kViewZoom, 1, "zoom", "Z&oom", "Z&oom", kZoomImageSize, &ScreenImages::zoom, false, draw_zoom_on},
      {kViewOverview, 0, "overview", "&Übersicht", "O&verview", kOverviewImageSize, &ScreenImages::overview, false,
       draw_overview_on},
      {kViewTrend, 3, "trend", "Tren&d", "Tren&d", kTrendImageSize, &ScreenImages::trend, true, draw_trend_on},
      {kViewHistogram, 2, "histogram", "Histogram&m", "&Histogram", kHistogramImageSize, &ScreenImages::histogram,
       true, draw_histogram_on},
      // The histogram's statistics without the histogram: the Lorenz report prints them.
      {kViewStatisticsOnly, -1, "", "", "", kHistogramImageSize, &ScreenImages::histogram, true, draw_statistics_on},
      {kViewLorenz, 4, "lorenz", "Loren&z", "Loren&z", kLorenzImageSize, &ScreenImages::lorenz, true, draw_lorenz_on},
  };
  return table;
}

std::vector<const ViewDescription*> views_with_pages() {
  std::vector<const ViewDescription*> views;
  for (const ViewDescription& view : view_table())
    if (view.page >= 0) views.push_back(&view);
  std::sort(views.begin(), views.end(), [](const auto* a, const auto* b) { return a->page < b->page; });
  return views;
}

ImageSize grown_image_size(const ViewDescription& view, ImageSize window) {
  ImageSize size = view_image_size(view.size, window);
  if (view.kind == kViewLorenz) size.width = view.size.width + std::min(size.width - view.size.width, size.height - view.size.height);
  return size;
}

const ViewDescription* view_of_kind(int kind) {
  for (const ViewDescription& view : view_table())
    if (view.kind == kind) return &view;
  return nullptr;
}

}  // namespace pulvitra
