// Reports 1 and 2 on A4 at 300 dpi, as pulvitra-cli report prints them: texts that used to
// touch their neighbours keep clear of them, in pixels of the page.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>

#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "reports/report_page.h"
#include "shell/language.h"
#include "tests/support/drawn_text.h"

namespace pulvitra {
namespace {

using test::DrawnText;

struct ReportLayout : ::testing::Test {
  ReportLayout() {
    clear_recording(ekg);
    copy_generated_image(generate_recording(GeneratorOptions{}), ekg);
    DecoderState decoder;
    decode_recording(ekg, decoder);
  }

  test::DrawnTextDevice& print(int report, std::uint8_t language) {
    QPainter painter(&page);
    painter.setFont(QFont(QStringLiteral("Sans Serif"), 8));
    ReportSource source{&ekg, nullptr, {}, {}, QStringLiteral("/data/a.pul"), language};
    draw_report(painter, 2480, 3508, report, PageMark{}, source);
    return page;
  }

  TEKG ekg;
  test::DrawnTextDevice page{2480, 3508, 300};
};

TEST_F(ReportLayout, the_histogram_title_stands_between_the_trends_seconds_and_its_plot) {
  for (const auto& [language, title] : {std::pair{kGerman, "Histogramm"}, std::pair{kEnglish, "Histogram"}}) {
    const auto& texts = print(kReportTrendHistogram, language).texts;
    const auto at = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == title; });
    ASSERT_NE(at, texts.end());
    double above = 0;  // the lowest text before it: the trend's seconds
    for (auto t = texts.begin(); t != at; ++t) above = std::max(above, t->box.bottom());
    double frame_top = 1e9;  // the plot's frame begins at print_left, 2480 / 7
    for (const QPointF& p : page.points)
      if (p.x() == 354 && p.y() > at->box.top()) frame_top = std::min(frame_top, p.y());
    EXPECT_GE(at->box.top() - above, 8.0) << title;  // 0.7 mm
    EXPECT_GE(frame_top - at->box.bottom(), 8.0) << title;
    page.texts.clear();
    page.points.clear();
  }
}

TEST_F(ReportLayout, the_lorenz_scale_labels_end_before_their_ticks) {
  print(kReportLorenz, kEnglish);
  int labels = 0;
  for (const DrawnText& label : page.texts) {
    // A vertical-scale label has its tick on its middle height, the leftmost line there.
    double tick = 1e9;
    for (const QLineF& line : page.lines)
      if (line.y1() == line.y2() && std::abs(line.y1() - label.box.center().y()) <= 1) tick = std::min(tick, line.x1());
    if (tick == 1e9 || label.text.toInt() < 300) continue;
    ++labels;
    EXPECT_GE(tick - label.box.right(), 3.0) << label.text.toStdString();  // a quarter digit
  }
  EXPECT_EQ(labels, 13);  // 300 .. 1500
}

TEST_F(ReportLayout, the_two_300s_in_the_lorenz_corner_stay_apart) {
  std::vector<QRectF> boxes;
  for (const DrawnText& t : print(kReportLorenz, kGerman).texts)
    if (t.text == "300") boxes.push_back(t.box);
  ASSERT_EQ(boxes.size(), 2u);  // the vertical scale's, then the horizontal one's
  EXPECT_GE(boxes[1].top() - boxes[0].bottom(), 0.0);
}

}  // namespace
}  // namespace pulvitra
