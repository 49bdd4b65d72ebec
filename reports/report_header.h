// The centred header block of every report page: clinic, page mark and date, the report's
// title, the patient line and the comment, built from the patient data.
#pragma once

#include <QPainter>
#include <QString>
#include <array>

#include "files/recording_file.h"
#include "shell/language.h"

namespace pulvitra {

// Where a report stands in its print job: report_no of report_count (both from 1).
struct PageMark {
  int report_no = 1;
  int report_count = 1;
};

// The six header lines in that language, before filtering; lines 3 and 5 are empty.
std::array<QString, 6> header_lines(const PatientFields& patient, PageMark mark, Language language);

// Line i (1..6) as it is printed: filtered like the patient texts, so that ":" and "_" vanish
// and runs of blanks shrink to one; line 1 then gets a blank and the recording's file path,
// which keeps its separators.
QString printed_header_line(int i, const QString& line, const QString& file_name);

// Prints the header on a page of that width, line i with its top at (i + 1) x (print_top
// div 8); line 1 in the font the page has, line 2 at 12 pt, lines 3 to 6 at 9 pt. Leaves the
// font at 6 pt.
void print_header(QPainter& painter, int page_width, int print_top, const std::array<QString, 6>& lines,
                  const QString& file_name);

}  // namespace pulvitra
