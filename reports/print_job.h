// The print job: the ticked reports in index order 1..4, each with its page mark, on one
// printer (one PDF file, or one print document per report).
#pragma once

#include <array>
#include <optional>

#include "reports/report_page.h"
#include "reports/report_printer.h"

namespace pulvitra {

using ReportFlags = std::array<bool, kReportKinds + 1>;  // [1..4], as ReportSelection

int ticked_reports(const ReportFlags& selection);

// The reports the patient page's Print ticks, and what a job prints unless told otherwise.
ReportFlags preselected_reports();

// Prints the ticked reports. False when the printer failed; its error() says why.
bool print_reports(const ReportFlags& selection, ReportPrinter& printer, const ReportSource& source);

}  // namespace pulvitra
