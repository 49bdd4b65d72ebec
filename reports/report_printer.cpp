#include "reports/report_printer.h"

#include <QGuiApplication>
#include <QMarginsF>
#include <QPrinterInfo>
#include <cups/cups.h>

#include "files/recording_file.h"
#include "shell/application.h"
#include "shell/file_replace.h"
#include "shell/language.h"
#include "shell/output_target.h"

namespace pulvitra {

namespace {

// The pages use the whole sheet: the reports keep their own margins (print_left and the
// header band), the same on paper as in the file.
QPageLayout full_sheet(const QPageSize& paper, QPageLayout::Orientation orientation) {
  return QPageLayout(paper, orientation, QMarginsF(0, 0, 0, 0));
}

QSize pixel_size(const QPagedPaintDevice& device) { return QSize(device.width(), device.height()); }

}  // namespace

QString report_document_title() { return QString::fromLatin1(kApplicationTitle); }

QString report_creator() { return QStringLiteral("Pulvitra " PULVITRA_VERSION); }

PdfReportPrinter::PdfReportPrinter(const QString& path, const QPageSize& paper, int resolution)
    : path_(path), paper_(paper), resolution_(resolution), buffer_(&bytes_) {}

PdfReportPrinter::~PdfReportPrinter() {
  // A job that never finished leaves no file: nothing has gone to the disk yet.
  if (painter_) painter_->end();
}

QString PdfReportPrinter::error() const {
  if (!failed_) return QString();
  if (reason_.isEmpty())
    return lang_text(QStringLiteral("Die Datei %1 lässt sich nicht schreiben."),
                     QStringLiteral("The file %1 cannot be written."))
        .arg(path_);
  return lang_text(QStringLiteral("Die Datei %1 lässt sich nicht schreiben (%2)."),
                   QStringLiteral("The file %1 cannot be written (%2)."))
      .arg(path_, reason_);
}

QPainter* PdfReportPrinter::begin_report(QPageLayout::Orientation orientation) {
  if (failed_) return nullptr;
  if (!writer_) {
    // A destination that can never take the file is refused before any page is drawn.
    reason_ = holds_recording(path_) ? recording_not_overwritten() : output_refusal(path_, {});
    if (!reason_.isEmpty() || !buffer_.open(QIODevice::WriteOnly)) {
      failed_ = true;
      return nullptr;
    }
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setResolution(resolution_);
    writer_->setTitle(report_document_title());
    writer_->setCreator(report_creator());
    writer_->setPageLayout(full_sheet(paper_, orientation));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(writer_.get())) {
      failed_ = true;
      return nullptr;
    }
    return painter_.get();
  }
  // The next page takes the layout set before it begins.
  writer_->setPageLayout(full_sheet(paper_, orientation));
  writer_->newPage();
  return painter_.get();
}

QSize PdfReportPrinter::page_size() const { return writer_ ? pixel_size(*writer_) : QSize(); }

bool PdfReportPrinter::finish() {
  if (failed_) return false;
  if (painter_) painter_->end();
  painter_.reset();
  writer_.reset();
  buffer_.close();
  const WriteResult written = write_file_replacing(path_, bytes_);
  if (!written.ok) {
    failed_ = true;
    reason_ = written.system_error;
    return false;
  }
  return true;
}

SystemReportPrinter::SystemReportPrinter(const PrintChoice& choice)
    : name_(choice.printer_name), printer_(QPrinter::HighResolution) {
  if (QPrinterInfo::printerInfo(name_).isNull()) {
    failure_ = Failure::kUnknownQueue;
    return;
  }
  printer_.setPrinterName(name_);
  printer_.setResolution(choice.resolution);
  printer_.setCopyCount(choice.copies);
  printer_.setPageSize(QPageSize(choice.paper_mm, QPageSize::Millimeter));
  printer_.setDocName(report_document_title());
  printer_.setCreator(report_creator());
}

QString SystemReportPrinter::error() const {
  switch (failure_) {
    case Failure::kNone: return QString();
    case Failure::kUnknownQueue:
      return lang_text(QStringLiteral("Den Drucker %1 kennt das Drucksystem nicht."),
                       QStringLiteral("The print system knows no printer %1."))
          .arg(name_);
    case Failure::kNotStarted:
      return lang_text(QStringLiteral("Der Drucker %1 lässt sich nicht ansprechen."),
                       QStringLiteral("The printer %1 cannot be reached."))
          .arg(name_);
    case Failure::kRefused:
      return lang_text(QStringLiteral("Der Drucker %1 hat den Bericht nicht angenommen (%2)."),
                       QStringLiteral("The printer %1 did not accept the report (%2)."))
          .arg(name_, reason_);
  }
  return QString();
}

QPainter* SystemReportPrinter::begin_report(QPageLayout::Orientation orientation) {
  if (failure_ != Failure::kNone) return nullptr;
  printer_.setPageOrientation(orientation);
  if (!painter_.begin(&printer_)) {
    failure_ = Failure::kNotStarted;
    return nullptr;
  }
  return &painter_;
}

QSize SystemReportPrinter::page_size() const { return pixel_size(printer_); }

void SystemReportPrinter::end_report() {
  painter_.end();
  // QPrinter hands the document to CUPS inside end(), on this thread, and keeps the answer to
  // itself; libcups keeps the status of the thread's last request, which is that hand-over.
  if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
    failure_ = Failure::kRefused;
    reason_ = QString::fromUtf8(cupsLastErrorString());
  }
}

PrintChoice system_printer_choice(const QString& name) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(name);
  PrintChoice choice;
  choice.kind = PrintChoice::kPrinter;
  choice.printer_name = name;
  choice.paper_mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
  choice.resolution = printer.resolution();
  return choice;
}

std::unique_ptr<ReportPrinter> printer_for(const PrintChoice& choice) {
  const QPageSize paper(choice.paper_mm, QPageSize::Millimeter);
  switch (choice.kind) {
    case PrintChoice::kPdfFile: return std::make_unique<PdfReportPrinter>(choice.file_name, paper, choice.resolution);
    case PrintChoice::kPrinter: return std::make_unique<SystemReportPrinter>(choice);
    default: return nullptr;
  }
}

}  // namespace pulvitra
