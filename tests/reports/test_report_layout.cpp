// Printed reports 1 and 2 on an A4 page at 300 dpi, as pulvitra-cli report prints them: texts
// that used to touch each other or a line keep clear of it, in both languages.
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "reports/report_page.h"
#include "shell/language.h"
#include "tests/support/drawn_text.h"

namespace pulvitra {
namespace {

using test::DrawnText;
using test::DrawnTextDevice;

constexpr int kWidth = 2480;  // A4 at 300 dpi
constexpr int kHeight = 3508;
constexpr int kPrintLeft = kWidth / 7;  // 354

class ReportLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    fill_language_table();
    clear_recording(ekg_);
    GeneratorOptions options;
    options.min_rate = 60;
    options.max_rate = 170;
    copy_generated_image(generate_recording(options), ekg_);
    DecoderState decoder;
    decode_recording(ekg_, decoder);
  }
  void TearDown() override { cur_lang = kGerman; }

  std::unique_ptr<DrawnTextDevice> print(int report, std::uint8_t language) {
    cur_lang = language;
    auto page = std::make_unique<DrawnTextDevice>(kWidth, kHeight, 300);
    QPainter painter(page.get());
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSize(8);
    painter.setFont(font);
    ReportSource source;
    source.ekg = &ekg_;
    source.file_name = QStringLiteral("/data/a.pul");
    draw_report(painter, kWidth, kHeight, report, PageMark{1, 1}, source);
    return page;
  }

  TEKG ekg_;
};

TEST_F(ReportLayout, the_histogram_title_stands_between_the_trends_seconds_and_its_plot) {
  for (const auto& [language, title] : {std::pair{kGerman, "Histogramm"}, std::pair{kEnglish, "Histogram"}}) {
    const auto page = print(kReportTrendHistogram, language);
    const auto& texts = page->texts();
    const auto at = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == title; });
    ASSERT_NE(at, texts.end()) << title;
    // Everything drawn before the title belongs to the header and the trend; its lowest line
    // is the seconds scale.
    double above = 0;
    for (auto t = texts.begin(); t != at; ++t) above = std::max(above, t->box.bottom());
    // The plot's frame begins at print_left: its topmost point there.
    double frame_top = std::numeric_limits<double>::max();
    for (const QPointF& p : page->points())
      if (p.x() == kPrintLeft && p.y() > at->box.top()) frame_top = std::min(frame_top, p.y());
    EXPECT_GE(at->box.top() - above, 8.0) << title << ": 0.7 mm below the seconds";
    EXPECT_GE(frame_top - at->box.bottom(), 8.0) << title << ": 0.7 mm above the plot";
  }
}

TEST_F(ReportLayout, the_lorenz_scale_labels_end_before_their_ticks) {
  for (const std::uint8_t language : {kGerman, kEnglish}) {
    const auto page = print(kReportLorenz, language);
    int labels = 0;
    for (const DrawnText& label : page->texts()) {
      bool number = false;
      const int value = label.text.toInt(&number);
      if (!number || value < 300 || value > 1500) continue;
      // The tick of a vertical-scale label: the line leftmost on its middle height.
      const double middle = label.box.center().y();
      double tick_left = std::numeric_limits<double>::max();
      for (const QLineF& line : page->lines())
        if (line.y1() == line.y2() && std::abs(line.y1() - middle) <= 1.0) tick_left = std::min(tick_left, line.x1());
      if (tick_left == std::numeric_limits<double>::max()) continue;  // a label of the horizontal scale
      ++labels;
      EXPECT_GE(tick_left - label.box.right(), 3.0) << label.text.toStdString() << ": a quarter digit";
    }
    EXPECT_EQ(labels, 13);  // 300 .. 1500
  }
}

TEST_F(ReportLayout, the_two_300s_in_the_lorenz_corner_stay_apart) {
  const auto page = print(kReportLorenz, kGerman);
  std::vector<QRectF> boxes;
  for (const DrawnText& t : page->texts())
    if (t.text == QStringLiteral("300")) boxes.push_back(t.box);
  ASSERT_EQ(boxes.size(), 2u);  // the vertical scale's first, then the horizontal one's
  EXPECT_GE(test::vertical_gap(boxes[0], boxes[1]), 0.0);
}

}  // namespace
}  // namespace pulvitra
