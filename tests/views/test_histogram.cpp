// The histogram page: bar colours by the limits, bar heights, bin 90 without a bar, the
// statistics panel on the screen and the printed statistics block.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <memory>
#include <vector>

#include "analysis/evaluation.h"
#include "shell/language.h"
#include "views/canvas.h"
#include "views/histogram_view.h"
#include "views/screen_sizes.h"
#include "tests/support/drawn_text.h"
#include "tests/support/scaled_screen.h"

namespace pulvitra {
namespace {

// Screen placement: L 25, T 15, W 539, H 186, bin width 7; bar k starts at x = 32 + 7 (k - 15).
constexpr int kT = 15;
constexpr int kH = 186;
int bar_left(int k) { return 32 + 7 * (k - 15); }

const QColor kRedRgb(255, 0, 0);
const QColor kBlueRgb(0, 0, 255);
QColor face() { return QColor(QGuiApplication::palette().color(QPalette::Button).rgb()); }
QColor light() { return QColor(QGuiApplication::palette().color(QPalette::Light).rgb()); }

std::unique_ptr<TEKG> recording(const std::vector<float>& rates) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (std::size_t i = 0; i < rates.size(); ++i) ekg->BeatRate[i + 1] = rates[i];
  ekg->BeatCount = static_cast<std::uint16_t>(rates.size());
  return ekg;
}

QImage draw_screen(const TEKG& ekg, int limit1, int limit2, bool statistics_only = false, Language language = kGerman) {
  QImage image(kHistogramImageSize.width, kHistogramImageSize.height, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  ViewTarget target;
  target.language = language;
  draw_histogram(painter, evaluate(ekg, limit1, limit2).statistics, target, statistics_only);
  return image;
}

class HistogramView : public ::testing::Test {};

TEST_F(HistogramView, BarsInsideTheLimitsAreRedOthersBlue) {
  // Limits 30 and 45 (60..90 per minute): bin 35 (70/min) inside, bin 50 (100/min) outside.
  const auto ekg = recording({70.0f, 100.0f});
  const QImage image = draw_screen(*ekg, 30, 45);
  EXPECT_EQ(image.pixelColor(bar_left(35) + 2, kT + kH - 2), kRedRgb);
  EXPECT_EQ(image.pixelColor(bar_left(50) + 2, kT + kH - 2), kBlueRgb);
  // The upper limit bin itself is outside: limits 30 and 35 make bin 35 blue.
  EXPECT_EQ(draw_screen(*ekg, 30, 35).pixelColor(bar_left(35) + 2, kT + kH - 2), kBlueRgb);
}

TEST_F(HistogramView, BarHeightsScaleToTheFullestBin) {
  struct Case {
    std::vector<float> rates;
    int bin;
    int height;
  };
  const Case cases[] = {
      {{70.0f, 70.0f, 70.0f}, 35, kH - 5},  // one bin holding every beat: 181 pixels
      {{60.0f, 80.0f, 80.0f}, 30, 90},      // half of 181 rounds to the even 90
      {{60.0f, 180.0f, 180.0f}, 30, 90},    // bin 90 has no bar but sets the scale
  };
  for (const Case& c : cases) {
    const QImage image = draw_screen(*recording(c.rates), 15, 90);
    const int x = bar_left(c.bin) + 2;
    const int frame_top = kT + kH - 1 - c.height;
    EXPECT_EQ(image.pixelColor(x, frame_top), light()) << "bin " << c.bin;
    EXPECT_EQ(image.pixelColor(x, frame_top + 1), kRedRgb) << "bin " << c.bin;
    EXPECT_EQ(image.pixelColor(x, frame_top - 1), face()) << "bin " << c.bin;
  }
}

TEST_F(HistogramView, Bin90IsCountedWithoutABar) {
  const QImage image = draw_screen(*recording({180.0f, 179.0f, 60.0f}), 15, 90);
  for (int y = kT + 1; y < kT + kH; ++y) {
    ASSERT_EQ(image.pixelColor(bar_left(90) + 2, y), face()) << "y " << y;
  }
}

TEST_F(HistogramView, PlotGrowsWithTheImageAndDrawsAtDeviceResolution) {
  // The plot grows by what the image grows, the panel keeps its distance from the bottom, and
  // bin k begins at L + (k - 14) (W div 77); at ratio R every length is R times, the frames of
  // plot, bars and panel R pixels wide.
  struct Case {
    ImageSize size;
    double ratio;
    int L, T, W, H, panel_top;
    int bin_width;
  } cases[] = {
      {kHistogramImageSize, 1.0, 25, 15, 539, 186, 231, 7},
      {{1180, 578}, 1.0, 25, 15, 1129, 475, 520, 14},
      {kHistogramImageSize, 2.0, 50, 30, 1078, 372, 462, 14},
      {kHistogramImageSize, 1.5, 38, 22, 808, 279, 346, 10},
  };
  const auto ekg = recording({70.0f, 70.0f, 100.0f});
  for (const Case& c : cases) {
    const QImage image = test::draw_scaled_screen(c.size, c.ratio, [&](QPainter& p, const ViewTarget& t) {
      draw_histogram(p, evaluate(*ekg, 30, 45).statistics, t, false);
    });
    const HistogramPlacement p = screen_histogram_placement(screen_scale(image, c.ratio));
    EXPECT_EQ(std::vector<int>({p.L, p.T, p.W, p.H, p.panel_top}),
              std::vector<int>({c.L, c.T, c.W, c.H, c.panel_top}))
        << c.ratio;
    const int line = static_cast<int>(c.ratio + 0.5);
    const int middle = c.T + c.H / 2;
    const int bar35 = c.L + 21 * c.bin_width;  // the fullest bar, inside the limits
    for (int k = 0; k < line; ++k) {
      EXPECT_EQ(image.pixelColor(c.L + k, middle), light()) << c.ratio;
      EXPECT_EQ(image.pixelColor(bar35 + k, middle), light()) << c.ratio;
      EXPECT_EQ(image.pixelColor(c.L + 5, c.panel_top + k), light()) << c.ratio;
    }
    EXPECT_EQ(image.pixelColor(c.L + line, middle), face()) << c.ratio;
    EXPECT_EQ(image.pixelColor(bar35 + line, middle), kRedRgb) << c.ratio;
    EXPECT_EQ(image.pixelColor(c.L + 5, c.panel_top + line), face()) << c.ratio;
  }
}

// Draws the expected panel texts straight at the positions the panel layout gives: where the
// usual places leave too little room, a column moves right (a blank after the label for a mean
// up to 000.0, two blanks between " /min" and the next column).
QImage expected_panel(const QString& mean_label) {
  QImage image(kHistogramImageSize.width, kHistogramImageSize.height, QImage::Format_RGB32);
  image.fill(face());
  QPainter painter(&image);
  QFont font = screen_font();  // the window's font, at 10 pt bold
  font.setPointSize(10);
  font.setBold(true);
  painter.setFont(font);
  const QFontMetrics fm = painter.fontMetrics();
  auto out = [&](int x, int y, const QString& text) { painter.drawText(x, y + fm.ascent(), text); };
  auto w = [&](const QString& text) { return fm.horizontalAdvance(text); };
  const int e1 = std::max(w(mean_label) + 539 * 7 / 40 + 25, 78 + w(mean_label) + w(" ") + w("000.0"));
  out(539 * 4 / 40 + 25, 241, mean_label);  // x = 78
  out(e1 - w("70.0"), 241, "70.0");
  out(e1 - w("857.0"), 256, "857");
  out(e1, 241, " /min");
  out(e1, 256, " ms");
  const int sd_x = std::max(539 * 18 / 40 + 25, e1 + w(" /min") + 2 * w(" "));  // 267 or further
  const int e2 = std::max(w("SD:") + 539 * 21 / 40 + 25 + sd_x - 267, sd_x + w("SD:") + w(" ") + w("00.0"));
  out(sd_x, 241, "SD:");
  out(e2 - w("14.1"), 241, "14.1");
  out(e2 - w("179.0"), 256, "179");
  out(e2, 241, " /min");
  out(e2, 256, " ms");
  out(539 * 30 / 40 + 25, 248, "V  : 20.2%");  // x = 429
  out(w("V") + 429, 254, "k");
  return image;
}

void expect_panel_text_like(const QImage& image, const QImage& expected) {
  // Inside the panel frame (231..281, 25..565) every pixel matches.
  int mismatches = 0;
  for (int y = 232; y < 281; ++y)
    for (int x = 26; x < 565; ++x)
      if (image.pixel(x, y) != expected.pixel(x, y)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
}

TEST_F(HistogramView, ScreenPanelShowsTheStatisticsInBothLanguages) {
  const auto ekg = recording({60.0f, 80.0f});
  expect_panel_text_like(draw_screen(*ekg, 15, 90), expected_panel("Mittelwert:"));
  expect_panel_text_like(draw_screen(*ekg, 15, 90, false, kEnglish), expected_panel("Average value:"));
}

TEST_F(HistogramView, ScreenPanelTextsKeepApartAtAMeanOf100AndMore) {
  // Beats of 120 and 150 per minute: the mean 135.0 fills the room beside the label.
  struct Case {
    std::uint8_t language;
    const char *left, *right;
    double gap;  // at least, in pixels
  } cases[] = {{kGerman, "Mittelwert:", "135.0", 4}, {kEnglish, "Average value:", "135.0", 4},  // a blank
               {kEnglish, " /min", "SD:", 9}, {kGerman, " /min", "SD:", 9}};                     // two blanks
  for (const Case& c : cases) {
    test::DrawnTextDevice image(kHistogramImageSize.width, kHistogramImageSize.height, 96);
    QPainter painter(&image);
    ViewTarget target;
    target.language = c.language;
    draw_histogram(painter, evaluate(*recording({120.0f, 150.0f}), 15, 90).statistics, target, false);
    EXPECT_GE(image.box(c.right).left() - image.box(c.left).right(), c.gap) << c.left << " | " << c.right;
  }
}

TEST_F(HistogramView, PanelIsAbsentWithAtMostOneBeatInside) {
  const QImage image = draw_screen(*recording({70.0f, 70.0f, 150.0f}), 30, 35);
  for (int y = 231; y <= 281; ++y)
    for (int x = 25; x <= 565; ++x) ASSERT_EQ(image.pixelColor(x, y), face()) << x << "," << y;
  EXPECT_EQ(image.pixelColor(bar_left(35) + 2, kT + kH - 2), kBlueRgb);  // the bars remain
}

// A portrait page of 1000 x 1414 pixels: print_left 142, print_top 141, print_gap 94.
struct PrintedPage {
  QImage image{1000, 1414, QImage::Format_RGB32};
  int th = 0;  // TH("X") in the font the histogram starts with
};

PrintedPage draw_printed(const TEKG& ekg, bool statistics_only) {
  PrintedPage page;
  page.image.fill(Qt::white);
  QPainter painter(&page.image);
  QFont font = painter.font();
  font.setPointSize(7);
  painter.setFont(font);
  page.th = painter.fontMetrics().height();
  ViewTarget target;
  target.printer = true;
  target.page = PrinterPage{&painter, 1000, 1414};
  draw_histogram(painter, evaluate(ekg, 30, 45).statistics, target, statistics_only);
  return page;
}

TEST_F(HistogramView, PrintedPageHasBlackFramesGreyBarsAndTheStatisticsBlock) {
  const auto ekg = recording({70.0f, 70.0f, 100.0f});
  const PrintedPage page = draw_printed(*ekg, false);
  const int usual_top = 9 * 1414 / 30 + 94 + 141 + page.th;
  const int bottom = usual_top + 401 - 3 * page.th;  // 1414 x 8.5 / 30 = 400.6, nearest 401
  // The plot keeps its bottom; its top lies at the usual place or, to make room for the
  // title, a little lower.
  int top = usual_top;
  while (top < bottom && page.image.pixelColor(142, top) != QColor(Qt::black)) ++top;
  EXPECT_LE(top - usual_top, 2 * page.th);
  const int bw = 716 / 77;  // W = 1000 - 2 x 142
  const int x35 = 142 + bw + 20 * bw;
  const int x50 = 142 + bw + 35 * bw;
  EXPECT_EQ(page.image.pixelColor(142 + 716, top), QColor(Qt::black));
  EXPECT_EQ(page.image.pixelColor(142 + 716, bottom), QColor(Qt::black));
  EXPECT_EQ(page.image.pixelColor(x35 + 2, bottom - 2), QColor(128, 128, 128));  // inside
  EXPECT_EQ(page.image.pixelColor(x50 + 2, bottom - 2), QColor(Qt::white));      // outside
  EXPECT_EQ(page.image.pixelColor(x50, bottom - 2), QColor(Qt::black));           // its frame

  // Statistics only (report 2): no frame, no bars, but the block titled left of print_left.
  const PrintedPage block = draw_printed(*ekg, true);
  EXPECT_EQ(block.image.pixelColor(142, top), QColor(Qt::white));
  EXPECT_EQ(block.image.pixelColor(x35 + 2, bottom - 2), QColor(Qt::white));
  const int line = 3 * block.th / 2;
  const int y0 = 18 * 1414 / 30 + 94 + 141 + line;
  bool ink = false;
  for (int y = y0 - line; y < y0; ++y)
    for (int x = 100; x < 142; ++x) ink = ink || block.image.pixelColor(x, y) != QColor(Qt::white);
  EXPECT_TRUE(ink);
}

}  // namespace
}  // namespace pulvitra
