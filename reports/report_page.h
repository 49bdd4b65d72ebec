// One report page: the header and the views of that report kind, drawn by the same view
// redraw as the screen, placed by the printer's page size.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <array>

#include "files/recording_file.h"
#include "recording/tekg.h"
#include "reports/report_header.h"
#include "shell/language.h"
#include "views/view_state.h"

namespace pulvitra {

// The four reports, in the order a job prints them.
enum ReportIndex : int {
  kReportTrendHistogram = 1,  // trend, histogram and statistics
  kReportLorenz = 2,          // Lorenz diagram and statistics
  kReportOverview = 3,        // ECG overview
  kReportZoom = 4,            // ECG zoom of the selected area
};
inline constexpr int kReportKinds = 4;

// The zoom is the one landscape report.
QPageLayout::Orientation report_orientation(int index);

// What a report prints from: the recording, a copy of the window's view state, the patient
// data, the recording's file path and the language the pages print in.
struct ReportSource {
  TEKG* ekg = nullptr;
  ViewState state;
  PatientFields patient;
  QString file_name;
  Language language = kGerman;
};

// Draws report `index` on a white page of that size in device pixels. The painter's font at
// the start is the one line 1 of the header prints in. The overview always starts at the
// first page of the recording.
void draw_report(QPainter& painter, int page_width, int page_height, int index, PageMark mark,
                 ReportSource& source);

}  // namespace pulvitra
