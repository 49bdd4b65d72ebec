// pulvitra-cli report: the printed reports of a recording file as one PDF, or on a system
// printer as the window's Print button sends them, drawn by the same print job, without a
// display.
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "reports/print_job.h"
#include "shell/language.h"
#include "tools/cli/command.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"
#include "tools/cli/recording_input.h"
#include "views/canvas.h"

namespace pulvitra::cli {

namespace {

// "1,2,4": the preselected report numbers.
std::string preselected_numbers() {
  std::string numbers;
  for (const ReportDescription& report : report_table()) {
    if (!report.preselected) continue;
    if (!numbers.empty()) numbers += ',';
    numbers += std::to_string(report.number);
  }
  return numbers;
}

struct ReportRequest {
  QString out;
  QString printer;
  bool default_printer = false;
  int copies = 0;  // 0: not given
  ReportFlags reports = preselected_reports();
  ViewState settings;
  int dpi = 0;  // 0: not given; 300 for a PDF, a printer's own resolution for a printer
};

constexpr int kPdfDpi = 300;

// "1,2,4": report numbers 1..4, each at most once, in any order.
Option::Take report_list(ReportFlags& reports) {
  return [&reports](const QStringList& values) {
    ReportFlags chosen{};
    for (const QString& part : values.first().split(QLatin1Char(','))) {
      bool ok = false;
      const int k = part.trimmed().toInt(&ok);
      if (!ok || k < 1 || k > kReportKinds || chosen[k])
        return QStringLiteral("needs report numbers 1..%1, like %2")
            .arg(kReportKinds)
            .arg(QString::fromStdString(preselected_numbers()));
      chosen[k] = true;
    }
    reports = chosen;
    return QString();
  };
}

std::vector<Option> report_options(ReportRequest& r) {
  return {
      {"--reports", 1, report_list(r.reports)},
      {"--limits", 2, whole_numbers(15, 90, r.settings.limit1, r.settings.limit2)},
      {"--page", 1, whole_number(1, 171, r.settings.zoom_pos)},
      {"--zoom", 1, zoom_factor(r.settings.zoom_factor)},
      {"--scale", 1, one_of({"period", "rate"}, r.settings.scale)},
      {"--axis", 1, one_of({"time", "pages"}, r.settings.axis)},
      {"--dpi", 1, whole_number(72, 1200, r.dpi)},
      {"-o", 1, text_into(r.out)},
      {"--printer", 1,
       [&r](const QStringList& values) {
         r.printer = values.first();
         return r.printer.isEmpty() ? QStringLiteral("needs a queue name (--default-printer takes the default one)")
                                    : QString();
       }},
      {"--default-printer", 0, switch_on(r.default_printer)},
      {"--copies", 1, whole_number(1, 999, r.copies)},
  };
}

void print_error(const QString& text) { std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData()); }

// What the command line leaves wrong about where the reports go, or "".
QString destination_mistake(const ReportRequest& r) {
  const bool to_printer = !r.printer.isEmpty() || r.default_printer;
  if (!r.printer.isEmpty() && r.default_printer) return QStringLiteral("report: --printer and --default-printer exclude each other");
  if (to_printer && !r.out.isEmpty()) return QStringLiteral("report: a printer and -o exclude each other");
  if (!to_printer && r.copies > 0) return QStringLiteral("report: --copies goes with --printer or --default-printer");
  if (!to_printer && r.out.isEmpty())
    return QStringLiteral("report: no output given (-o OUT.pdf, --printer QUEUE or --default-printer)");
  if (!to_printer && is_standard_output(r.out)) return QStringLiteral("report: a PDF goes to a file, not to standard output");
  return QString();
}

int run_report(const QStringList& args) {
  ReportRequest request;
  QString error;
  const auto line = parse_command_line(QStringLiteral("report"), args, report_options(request), 1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("report: no recording file given"));
  const QString mistake = destination_mistake(request);
  if (!mistake.isEmpty()) return usage_error(mistake);
  const bool to_printer = request.out.isEmpty();
  if (!to_printer && !output_acceptable(request.out, line->files, OverRecording::kRefused)) return 2;

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  decode(*input);
  if (input->ekg->BeatCount < 2) {
    print_error(table_text(QStringLiteral("txt_no_print_data")));
    return 1;
  }

  std::unique_ptr<ReportPrinter> printer;
  if (to_printer) {
    const QString queue = request.default_printer ? QPrinterInfo::defaultPrinterName() : request.printer;
    if (queue.isEmpty()) {
      print_error(lang_text(QStringLiteral("Das Drucksystem hat keinen Standarddrucker; --printer QUEUE nennt einen."),
                            QStringLiteral("The print system has no default printer; --printer QUEUE names one.")));
      return 1;
    }
    // As if the print dialog had been left as it came up for that printer.
    PrintChoice choice = system_printer_choice(queue);
    if (request.dpi > 0) choice.resolution = request.dpi;
    if (request.copies > 0) choice.copies = request.copies;
    printer = std::make_unique<SystemReportPrinter>(choice);
  } else {
    printer = std::make_unique<PdfReportPrinter>(request.out, QPageSize(QPageSize::A4),
                                                 request.dpi > 0 ? request.dpi : kPdfDpi);
  }

  // Line 1 of the first header prints in the window's font, as in the program.
  QGuiApplication::setFont(window_font());

  ReportSource source;
  source.ekg = input->ekg.get();
  source.marks = &input->decoder.marks;
  source.state = request.settings;
  source.patient = input->file.header.fields;
  source.file_name = QFileInfo(line->files.first()).absoluteFilePath();
  // As with render, the pages are German unless --language says otherwise (the messages are
  // English unless it does).
  source.language = line->language.value_or(kGerman);
  const bool printed = print_reports(request.reports, *printer, source);
  if (!printed) {
    print_error(printer->error());
    return 1;
  }
  return 0;
}

// "1 trend and histogram, 2 Lorenz diagram, ...; default 1,2,4" for the help.
std::string report_summaries() {
  std::string text;
  for (const ReportDescription& report : report_table()) {
    if (report.number == 0) continue;
    if (!text.empty()) text += ", ";
    text += std::to_string(report.number) + " " + report.summary;
  }
  return text + "; default " + preselected_numbers();
}

std::string all_report_numbers() {
  std::string numbers;
  for (int k = 1; k <= kReportKinds; ++k) numbers += (k > 1 ? "," : "") + std::to_string(k);
  return numbers;
}

const std::string kReportUsage =
    "FILE.pul [--reports " + all_report_numbers() + "] [--language de|en] [--limits P1 P2] [--page N] [--zoom PCT] "
    "[--scale period|rate] [--axis time|pages] [--dpi N] "
    "(-o OUT.pdf | --printer QUEUE [--copies N] | --default-printer [--copies N])";

const std::string kReportSummary =
    "Prints the reports of the recording (" + report_summaries() +
    ") as the print job does: into one A4 PDF, one page per report, at "
    "300 dpi unless --dpi says otherwise, or on a system printer (a CUPS queue by name, or the "
    "default one), one print document per report at the printer's own paper and resolution";

const Command kReport("report", kReportUsage.c_str(), kReportSummary.c_str(), run_report, Command::kDraws);

}  // namespace

}  // namespace pulvitra::cli
