#include "reports/report_table.h"

#include <algorithm>

#include "views/view_table.h"

namespace pulvitra {

const std::array<ReportDescription, kReportKinds + 1>& report_table() {
  using enum QPageLayout::Orientation;
  static const std::array<ReportDescription, kReportKinds + 1> table = {{
      {0, "", "", "", {0, 0}, Portrait, false},
      {kReportTrendHistogram, "trend and histogram", "&Trend-Diagramm / Histogramm / Statistik",
       "&Trend diagram / histogram / statistics", {kViewTrend, kViewHistogram}, Portrait, true},
      {kReportLorenz, "Lorenz diagram", "&Lorenz-Diagramm / Statistik", "&Lorenz's diagram / statistics",
       {kViewLorenz, kViewStatisticsOnly}, Portrait, true},
      {kReportOverview, "ECG overview", "&EKG-Übersicht", "ECG &overview", {kViewOverview, 0}, Portrait, false},
      // The zoom is the one landscape report.
      {kReportZoom, "ECG zoom", "EKG-&Zoom (ausgewählter Bereich)", "ECG &zoom (selected area)", {kViewZoom, 0},
       Landscape, true},
  }};
  return table;
}

const ReportDescription& report_numbered(int number) {
  return report_table()[number >= 1 && number <= kReportKinds ? number : 0];
}

int report_printing_view(int view_kind) {
  for (const ReportDescription& report : report_table()) {
    if (report.number > 0 && std::ranges::find(report.views, view_kind) != report.views.end()) return report.number;
  }
  return 0;
}

QPageLayout::Orientation report_orientation(int number) { return report_numbered(number).orientation; }

}  // namespace pulvitra
