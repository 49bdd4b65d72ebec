#include "reports/report_page.h"

#include "views/print_layout.h"
#include "views/redraw.h"

namespace pulvitra {

namespace {

// The views of each report, in drawing order (0: none).
struct ReportViews {
  int first;
  int second;
};

ReportViews views_of(int index) {
  switch (index) {
    case kReportTrendHistogram: return {kViewTrend, kViewHistogram};
    case kReportLorenz: return {kViewLorenz, kViewStatisticsOnly};
    case kReportOverview: return {kViewOverview, 0};
    case kReportZoom: return {kViewZoom, 0};
    default: return {0, 0};
  }
}

}  // namespace

QPageLayout::Orientation report_orientation(int index) {
  return index == kReportZoom ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void draw_report(QPainter& painter, int page_width, int page_height, int index, PageMark mark,
                 ReportSource& source) {
  const ReportViews views = views_of(index);
  if (!views.first || !source.ekg) return;
  painter.setBrush(Qt::white);
  const PrintUnits units = print_units(page_width, page_height);
  print_header(painter, page_width, units.print_top, header_lines(source.patient, mark, source.language), source.file_name);

  ViewTarget target;
  target.printer = true;
  target.language = source.language;
  target.page = PrinterPage{&painter, page_width, page_height};
  ViewState state = source.state;
  state.overview_pos = 0;  // the printout starts with the first page of the recording
  redraw_views(views.first, target, *source.ekg, state);
  if (views.second) redraw_views(views.second, target, *source.ekg, state);
}

}  // namespace pulvitra
