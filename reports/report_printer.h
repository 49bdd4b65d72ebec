// Where the report pages go: a printer abstraction with two kinds, one PDF file for a whole
// job, or a system printer with one print document per report.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QBuffer>
#include <QByteArray>
#include <QSize>
#include <QString>
#include <memory>

#include "shell/dialogs.h"

namespace pulvitra {

class ReportPrinter {
 public:
  virtual ~ReportPrinter() = default;
  // Starts the page of the next report in that orientation; nullptr when the output cannot
  // be started (error() says why).
  virtual QPainter* begin_report(QPageLayout::Orientation orientation) = 0;
  // The page of the report begun last, in device pixels.
  virtual QSize page_size() const = 0;
  virtual void end_report() = 0;
  // Completes the job; false when its output could not be written (error() says why).
  virtual bool finish() = 0;
  virtual QString error() const = 0;
};

// The PDF's document title and creator: the application title, the program and its version.
QString report_document_title();
QString report_creator();

// All reports of a job as the pages of one PDF file, each page in its own orientation. The
// pages are drawn in memory; the whole file then goes to disk through write_file_replacing,
// so it takes the place of an old one only once it is complete and synced, and a file that
// cannot be written (a full disk, a FIFO, a folder) leaves nothing behind.
class PdfReportPrinter final : public ReportPrinter {
 public:
  PdfReportPrinter(const QString& path, const QPageSize& paper, int resolution);
  ~PdfReportPrinter() override;
  QPainter* begin_report(QPageLayout::Orientation orientation) override;
  QSize page_size() const override;
  void end_report() override {}
  bool finish() override;
  // Worded when asked, in the language current then.
  QString error() const override;

 private:

  QString path_;
  QPageSize paper_;
  int resolution_;
  QByteArray bytes_;
  QBuffer buffer_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QPainter> painter_;
  bool failed_ = false;
  QString reason_;  // the system's words for a failed write
};

// A system printer: each report is its own print document, titled with the application title.
// A queue the print system does not know prints nothing (QPrinter alone would quietly take
// another printer), and a document the print system refuses stops the job.
class SystemReportPrinter final : public ReportPrinter {
 public:
  explicit SystemReportPrinter(const PrintChoice& choice);
  QPainter* begin_report(QPageLayout::Orientation orientation) override;
  QSize page_size() const override;
  void end_report() override;
  bool finish() override { return failure_ == Failure::kNone; }
  // Worded when asked, in the language current then.
  QString error() const override;

 private:
  enum class Failure { kNone, kUnknownQueue, kNotStarted, kRefused };

  QString name_;
  QPrinter printer_;
  QPainter painter_;
  Failure failure_ = Failure::kNone;
  QString reason_;  // the print system's words for a refused document
};

// What the print dialog proposes for that system printer when the user changes nothing: its
// own paper and resolution, one copy.
PrintChoice system_printer_choice(const QString& name);

// The printer for what the print dialog chose (nullptr when it was cancelled).
std::unique_ptr<ReportPrinter> printer_for(const PrintChoice& choice);

}  // namespace pulvitra
