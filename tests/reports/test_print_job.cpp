// The print job on a recording printer: ticked reports in index order, each in its own
// orientation and with its page mark; one PDF file that appears whole or not at all.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "reports/print_job.h"
#include "shell/language.h"

namespace pulvitra {
namespace {

// Draws every report on an A4-shaped image at 100 dpi and remembers what it was asked.
class RecordingPrinter final : public ReportPrinter {
 public:
  QPainter* begin_report(QPageLayout::Orientation orientation) override {
    orientations.push_back(orientation);
    if (fail_at == static_cast<int>(orientations.size())) return nullptr;
    const bool landscape = orientation == QPageLayout::Landscape;
    image = QImage(landscape ? 1169 : 827, landscape ? 827 : 1169, QImage::Format_RGB32);
    image.fill(Qt::white);
    painter.begin(&image);
    return &painter;
  }
  QSize page_size() const override { return image.size(); }
  void end_report() override {
    painter.end();
    pages.push_back(image);
  }
  bool finish() override { return true; }
  QString error() const override { return fail_at ? QStringLiteral("refused") : QString(); }

  std::vector<QPageLayout::Orientation> orientations;
  std::vector<QImage> pages;
  int fail_at = 0;
  QImage image;
  QPainter painter;
};

class PrintJob : public ::testing::Test {
 protected:
  PrintJob() {
    clear_recording(ekg_);
    copy_generated_image(generate_recording(GeneratorOptions{}), ekg_);
    DecoderState decoder;
    decode_recording(ekg_, decoder);
    source_.ekg = &ekg_;
    source_.file_name = "/data/a.pul";
  }
  TEKG ekg_;
  ReportSource source_;
};

TEST_F(PrintJob, reports_go_out_in_index_order_the_zoom_alone_in_landscape) {
  struct Case {
    ReportFlags ticks;
    std::vector<QPageLayout::Orientation> orientations;
  } cases[] = {
      {{false, false, false, false, false}, {}},
      {{false, false, false, false, true}, {QPageLayout::Landscape}},
      {{false, true, true, true, true},
       {QPageLayout::Portrait, QPageLayout::Portrait, QPageLayout::Portrait, QPageLayout::Landscape}},
      {{false, false, true, true, false}, {QPageLayout::Portrait, QPageLayout::Portrait}},
  };
  for (const Case& c : cases) {
    RecordingPrinter printer;
    EXPECT_TRUE(print_reports(c.ticks, printer, source_));
    EXPECT_EQ(printer.orientations, c.orientations);
    EXPECT_EQ(printer.pages.size(), c.orientations.size());
    EXPECT_EQ(ticked_reports(c.ticks), static_cast<int>(c.orientations.size()));
  }
  EXPECT_EQ(report_orientation(kReportTrendHistogram), QPageLayout::Portrait);
  EXPECT_EQ(report_orientation(kReportLorenz), QPageLayout::Portrait);
  EXPECT_EQ(report_orientation(kReportOverview), QPageLayout::Portrait);
  EXPECT_EQ(report_orientation(kReportZoom), QPageLayout::Landscape);
}

TEST_F(PrintJob, a_refusing_printer_stops_the_job) {
  RecordingPrinter printer;
  printer.fail_at = 2;
  EXPECT_FALSE(print_reports({false, true, true, true, true}, printer, source_));
  EXPECT_EQ(printer.orientations.size(), 2u);
  EXPECT_EQ(printer.pages.size(), 1u);
}

TEST_F(PrintJob, the_overview_report_starts_at_the_first_page_whatever_the_window_shows) {
  RecordingPrinter at_start, scrolled;
  print_reports({false, false, false, true, false}, at_start, source_);
  source_.state.overview_pos = 9;
  print_reports({false, false, false, true, false}, scrolled, source_);
  ASSERT_EQ(scrolled.pages.size(), 1u);
  EXPECT_EQ(scrolled.pages[0], at_start.pages[0]);
  EXPECT_EQ(source_.state.overview_pos, 9) << "the window's state is only copied";
}

TEST_F(PrintJob, a_pdf_that_cannot_be_written_leaves_nothing_and_an_old_file_alone) {
  QTemporaryDir dir;
  cur_lang = kEnglish;
  const QString missing = dir.filePath("no/such/folder/r.pdf");
  PdfReportPrinter nowhere(missing, QPageSize(QPageSize::A4), 100);
  EXPECT_FALSE(print_reports({false, true, false, false, false}, nowhere, source_));
  EXPECT_EQ(nowhere.error().toStdString(),
            "The file " + missing.toStdString() + " cannot be written (No such file or directory).");
  EXPECT_FALSE(QFile::exists(missing));

  // A job that never finishes (the program stopped halfway) keeps the old file as it was.
  const QString old = dir.filePath("old.pdf");
  {
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old report");
  }
  {
    PdfReportPrinter unfinished(old, QPageSize(QPageSize::A4), 100);
    ASSERT_NE(unfinished.begin_report(QPageLayout::Portrait), nullptr);
  }
  QFile file(old);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("old report"));
  cur_lang = kGerman;
}

TEST_F(PrintJob, pdf_pages_take_their_size_from_the_sheet_and_the_resolution) {
  QTemporaryDir dir;
  PdfReportPrinter pdf(dir.filePath("r.pdf"), QPageSize(QPageSize::A4), 300);
  ASSERT_NE(pdf.begin_report(QPageLayout::Portrait), nullptr);
  EXPECT_NEAR(pdf.page_size().width(), 2480, 1);  // 210 mm at 300 dpi, no margins
  EXPECT_NEAR(pdf.page_size().height(), 3508, 1);
  ASSERT_NE(pdf.begin_report(QPageLayout::Landscape), nullptr);
  EXPECT_NEAR(pdf.page_size().width(), 3508, 1);
  EXPECT_TRUE(pdf.finish());
  EXPECT_TRUE(QFile::exists(dir.filePath("r.pdf")));
}

}  // namespace
}  // namespace pulvitra
