#include "reports/print_job.h"

namespace pulvitra {

int ticked_reports(const ReportFlags& selection) {
  int count = 0;
  for (int k = 1; k <= kReportKinds; ++k) count += selection[k] ? 1 : 0;
  return count;
}

ReportFlags preselected_reports() {
  ReportFlags flags{};
  for (int k = 1; k <= kReportKinds; ++k) flags[k] = report_numbered(k).preselected;
  return flags;
}

bool print_reports(const ReportFlags& selection, ReportPrinter& printer, const ReportSource& source) {
  const int count = ticked_reports(selection);
  int report_no = 0;
  // The printer's font goes on from one report to the next, as on one printer canvas: line 1
  // of the header prints in whatever size the report before left.
  std::optional<QFont> carried_font;
  for (int k = 1; k <= kReportKinds; ++k) {
    if (!selection[k]) continue;
    ++report_no;
    QPainter* painter = printer.begin_report(report_orientation(k));
    if (!painter) return false;
    if (carried_font) painter->setFont(*carried_font);
    const QSize page = printer.page_size();
    draw_report(*painter, page.width(), page.height(), k, PageMark{report_no, count}, source);
    carried_font = painter->font();
    printer.end_report();
  }
  return printer.finish();
}

}  // namespace pulvitra
