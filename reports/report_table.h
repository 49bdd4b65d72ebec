// The reports of the program, one row each: its number, what it prints and with which
// views, its orientation and its caption. The report choice window, the print job and
// `pulvitra-cli report` all read this one table.
#pragma once

#include <QPageLayout>
#include <QString>
#include <array>
#include <vector>

namespace pulvitra {

// The four reports, in the order a job prints them.
enum ReportIndex : int {
  kReportTrendHistogram = 1,  // trend, histogram and statistics
  kReportLorenz = 2,          // Lorenz diagram and statistics
  kReportOverview = 3,        // ECG overview
  kReportZoom = 4,            // ECG zoom of the selected area
};
inline constexpr int kReportKinds = 4;

struct ReportDescription {
  int number;             // 1..kReportKinds, the order a job prints them
  const char* summary;    // what it prints, as the command line's help lists it
  const char* german;     // its box in the report choice
  const char* english;
  std::array<int, 2> views;  // the views it draws, in this order (0: none)
  QPageLayout::Orientation orientation;
  bool preselected;  // ticked by the patient page's Print, and printed when the command line names none
};

// Indexed by number: entry 0 is no report.
const std::array<ReportDescription, kReportKinds + 1>& report_table();

// The report of that number; no report (no views) outside 1..kReportKinds.
const ReportDescription& report_numbered(int number);

// The report that prints the view of that kind, 0 when none does.
int report_printing_view(int view_kind);

QPageLayout::Orientation report_orientation(int number);

}  // namespace pulvitra
