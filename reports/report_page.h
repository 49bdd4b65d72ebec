// One report page: the header and the views of that report kind, drawn by the same view
// redraw as the screen, placed by the printer's page size.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <array>

#include "files/recording_file.h"
#include "recording/page_reader.h"
#include "recording/tekg.h"
#include "reports/report_header.h"
#include "shell/language.h"
#include "reports/report_table.h"
#include "views/view_state.h"

namespace pulvitra {

// What a report prints from: the recording, a copy of the window's view state, the patient
// data, the recording's file path, the marks its readers left undrawn (may be null) and the
// language the pages print in.
struct ReportSource {
  const TEKG* ekg = nullptr;
  DeviceMarks* marks = nullptr;
  ViewState state;
  PatientFields patient;
  QString file_name;
  Language language = kGerman;
};

// Draws report `index` on a white page of that size in device pixels. The painter's font at
// the start is the one line 1 of the header prints in. The overview always starts at the
// first page of the recording.
void draw_report(QPainter& painter, int page_width, int page_height, int index, PageMark mark,
                 const ReportSource& source);

}  // namespace pulvitra
