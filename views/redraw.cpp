#include "views/redraw.h"

#include "analysis/evaluation.h"
#include "views/histogram_view.h"
#include "views/lorenz_view.h"
#include "views/overview_view.h"
#include "views/selection.h"
#include "views/trend_view.h"
#include "views/zoom_view.h"

namespace pulvitra {

namespace {

void set_printer_font_size(QPainter& painter, int points) {
  QFont font = painter.font();
  font.setPointSize(points);
  painter.setFont(font);
}

void draw_zoom_on(const ViewTarget& target, TEKG& ekg, const ViewState& state) {
  const ZoomOptions options{state.zoom_pos, state.zoom_factor, state.scale, state.axis, target.language};
  if (target.printer) {
    QPainter& painter = *target.page.painter;
    set_printer_font_size(painter, 6);
    draw_zoom(painter, ekg, printer_zoom_placement(painter, target.page.width, target.page.height), options);
    return;
  }
  if (!target.screen.zoom) return;
  QPainter painter(target.screen.zoom);
  ZoomPlacement placement = screen_zoom_placement();
  placement.image_width = target.screen.zoom->width();
  placement.image_height = target.screen.zoom->height();
  draw_zoom(painter, ekg, placement, options);
}

void draw_overview_on(const ViewTarget& target, TEKG& ekg, const ViewState& state) {
  if (target.printer) {
    QPainter& painter = *target.page.painter;
    set_printer_font_size(painter, 6);
    draw_overview(painter, ekg, printer_overview_placement(target.page.width, target.page.height),
                  state.overview_pos);
    return;
  }
  if (!target.screen.overview) return;
  {
    QPainter painter(target.screen.overview);
    draw_overview(painter, ekg, screen_overview_placement(), state.overview_pos);
  }
  toggle_selection(*target.screen.overview, state);
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

}  // namespace

void redraw_views(int kind, const ViewTarget& target, TEKG& ekg, const ViewState& state) {
  if (target.printer && !target.page.painter) return;
  if (kind == kViewAll || kind == kViewZoom) draw_zoom_on(target, ekg, state);
  if (kind == kViewAll || kind == kViewOverview) draw_overview_on(target, ekg, state);
  if (ekg.BeatCount == 0) return;
  if (kind == kViewAll || kind == kViewTrend)
    on_target(target, target.screen.trend, [&](QPainter& p) { draw_trend(p, ekg, target); });
  if (kind == kViewAll || kind == kViewHistogram || kind == kViewStatisticsOnly) {
    const bool statistics_only = kind == kViewStatisticsOnly;
    const Evaluation evaluation = evaluate(ekg, state.limit1, state.limit2);
    on_target(target, target.screen.histogram,
              [&](QPainter& p) { draw_histogram(p, evaluation.statistics, target, statistics_only); });
  }
  if (kind == kViewAll || kind == kViewLorenz)
    on_target(target, target.screen.lorenz, [&](QPainter& p) { draw_lorenz(p, ekg, target); });
}

}  // namespace pulvitra
