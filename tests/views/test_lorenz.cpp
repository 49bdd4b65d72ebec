// The Lorenz page: where a pair of beats puts its cross, clamping against the frame, the
// unpaired last beat, and the embossed diagonal.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <memory>
#include <vector>

#include "shell/language.h"
#include "views/canvas.h"
#include "views/lorenz_view.h"
#include "views/screen_sizes.h"
#include "tests/support/scaled_screen.h"

namespace pulvitra {
namespace {

// Screen placement: L 39, T 8, units 31, crosses of half size 3; 300 ms on the left and
// bottom frame lines (x 39, y 380), 1500 ms on the right and top ones (x 411, y 8).
constexpr int kL = 39;
constexpr int kBottom = 8 + 12 * 31;

QRgb shadow() { return QGuiApplication::palette().color(QPalette::Dark).rgb(); }
QRgb light() { return QGuiApplication::palette().color(QPalette::Light).rgb(); }

std::unique_ptr<TEKG> recording(const std::vector<float>& rates, int count) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (std::size_t i = 0; i < rates.size(); ++i) ekg->BeatRate[i + 1] = rates[i];
  ekg->BeatCount = static_cast<std::uint16_t>(count);
  return ekg;
}

QImage draw_screen(const TEKG& ekg) {
  QImage image(kLorenzImageSize.width, kLorenzImageSize.height, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  draw_lorenz(painter, ekg, ViewTarget{});
  return image;
}

// Both arms of a cross centred at (x, y) are drawn one pixel inside their ends.
void expect_cross(const QImage& image, int x, int y) {
  EXPECT_EQ(image.pixel(x - 2, y - 2), shadow()) << "cross at " << x << "," << y;
  EXPECT_EQ(image.pixel(x + 2, y + 2), shadow()) << "cross at " << x << "," << y;
  EXPECT_EQ(image.pixel(x - 2, y + 2), shadow()) << "cross at " << x << "," << y;
  EXPECT_EQ(image.pixel(x + 2, y - 2), shadow()) << "cross at " << x << "," << y;
}

void expect_no_cross(const QImage& image, int x, int y) {
  EXPECT_NE(image.pixel(x - 2, y - 2), shadow()) << "cross at " << x << "," << y;
  EXPECT_NE(image.pixel(x + 2, y + 2), shadow()) << "cross at " << x << "," << y;
}

// Pairs are beats 1-2, 3-4, ...; the decoder stores one beat beyond BeatCount, which an odd
// count leaves unplotted.
TEST(LorenzView, each_pair_of_beats_puts_its_cross_at_their_periods) {
  constexpr int x600 = kL + 93;
  constexpr int y600 = kBottom - 93;
  struct Case {
    std::vector<float> rates;
    int count;
    int x, y;                      // the cross that shows
    int absent_x = 0, absent_y = 0;  // a cross that does not, when given
  };
  const Case cases[] = {
      {{60.0f, 60.0f}, 2, kL + 7 * 31, kBottom - 7 * 31},  // 1000 ms: 7 units right, 7 up
      {{60.0f, 100.0f}, 2, kL + 7 * 31, kBottom - 93},     // 600 ms: 3 units up
      {{100.0f, 60.0f}, 2, kL + 93, kBottom - 7 * 31},
      {{30.0f, 80.0f}, 2, 411 - 4, kBottom - 140},  // 2000 ms piles up at the right frame; 750 ms
      {{250.0f, 60.0f}, 2, kL + 5, kBottom - 217},  // 240 ms piles up at the left frame
      {{75.0f, 35.0f}, 2, kL + 155, 8 + 5},         // 800 ms; 1714 ms piles up at the top frame
      {{60.0f, 60.0f, 100.0f, 100.0f}, 3, kL + 217, kBottom - 217, x600, y600},
      {{60.0f, 60.0f, 100.0f, 100.0f}, 4, x600, y600},
  };
  for (const Case& c : cases) {
    const QImage image = draw_screen(*recording(c.rates, c.count));
    expect_cross(image, c.x, c.y);
    if (c.absent_x != 0) expect_no_cross(image, c.absent_x, c.absent_y);
  }
}

TEST(LorenzView, EmptyRecordingShowsFrameScalesAndDiagonalWithoutCrosses) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);  // BeatCount 1
  const QImage image = draw_screen(*ekg);
  // The diagonal from (411, 8) to (39, 380): light, with a shadow line one pixel beside it.
  EXPECT_EQ(image.pixel(411 - 100, 8 + 100), light());
  EXPECT_EQ(image.pixel(409 - 100, 9 + 100), shadow());
  EXPECT_EQ(image.pixelColor(kL - 3, kBottom), QColor(Qt::black));  // tick of 300 ms
  expect_no_cross(image, kL + 217, kBottom - 217);
}

TEST(LorenzView, PlotGrowsSquareAndDrawsAtDeviceResolution) {
  // The unit is the largest that fits the grown width and height both, the crosses' half size
  // U div 9; at ratio R every length is R times, the frame R pixels wide.
  struct Case {
    ImageSize size;
    double ratio;
    int L, T, U, d;
  } cases[] = {
      {kLorenzImageSize, 1.0, 39, 8, 31, 3},
      {{1180, 578}, 1.0, 39, 8, 44, 4},  // (372 + 166) div 12: the height limits it
      {kLorenzImageSize, 2.0, 78, 16, 62, 6},
      {kLorenzImageSize, 1.25, 49, 10, 38, 4},
  };
  const auto ekg = recording({60.0f, 60.0f}, 2);  // a cross at 1000 ms on both axes
  for (const Case& c : cases) {
    const QImage image =
        test::draw_scaled_screen(c.size, c.ratio, [&](QPainter& p, const ViewTarget& t) { draw_lorenz(p, *ekg, t); });
    const LorenzPlacement p = screen_lorenz_placement(screen_scale(image, c.ratio));
    EXPECT_EQ(std::vector<int>({p.L, p.T, p.U, p.V, p.d}), std::vector<int>({c.L, c.T, c.U, c.U, c.d})) << c.ratio;
    const int line = static_cast<int>(c.ratio + 0.5);
    const int y = c.T + c.U / 2;  // between two grid lines
    for (int k = 0; k < line; ++k) EXPECT_EQ(image.pixel(c.L + k, y), light()) << c.ratio;
    EXPECT_NE(image.pixel(c.L + line, y), light()) << c.ratio;
    EXPECT_EQ(image.pixel(c.L + 7 * c.U - c.d + 1, c.T + 5 * c.U - c.d + 1), shadow()) << c.ratio;
  }
}

TEST(LorenzView, NoBeatsLeavesThePictureAsItWas) {
  const QImage image = draw_screen(*recording({}, 0));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));
  EXPECT_EQ(image.pixelColor(200, 200), QColor(Qt::magenta));
}

// A Lorenz page printed on a page of 1000 x 1414 pixels in a 6 point font: the frame's left
// and top edges L and T, units of 1000 / 16 = 62 pixels.
struct PrintedLorenz {
  explicit PrintedLorenz(const TEKG& ekg) : page(1000, 1414, QImage::Format_RGB32) {
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font = painter.font();
    font.setPointSize(6);
    painter.setFont(font);
    L = 142 + painter.fontMetrics().horizontalAdvance("XXX");
    T = painter.fontMetrics().height() + 94 + 141;
    ViewTarget target;
    target.printer = true;
    target.page = PrinterPage{&painter, 1000, 1414};
    draw_lorenz(painter, ekg, target);
  }
  QImage page;
  int L = 0, T = 0;
  static constexpr int V = 62;
};

TEST(LorenzPrinted, the_crosses_are_black_and_grow_with_the_page) {
  const PrintedLorenz printed(*recording({60.0f, 100.0f}, 2));
  // Crosses of half size 6 drawn 3 pixels wide.
  const int x = printed.L + 7 * PrintedLorenz::V;
  const int y = printed.T + 12 * PrintedLorenz::V - 3 * PrintedLorenz::V;
  EXPECT_EQ(printed.page.pixelColor(printed.L, printed.T), QColor(Qt::black));
  EXPECT_EQ(printed.page.pixelColor(x - 5, y - 5), QColor(Qt::black));
  EXPECT_EQ(printed.page.pixelColor(x + 5, y - 5), QColor(Qt::black));
  EXPECT_EQ(printed.page.pixelColor(x - 5, y - 4), QColor(Qt::black));  // the thick pen
}

TEST(LorenzPrinted, the_diagonal_stays_shadow_grey_on_paper) {
  const PrintedLorenz printed(*recording({60.0f, 60.0f}, 2));
  // The diagonal runs from (L + 12 V, T) to (L, T + 12 U); half way along it, off the crosses.
  const int V = PrintedLorenz::V;
  EXPECT_EQ(printed.page.pixelColor(printed.L + 9 * V, printed.T + 3 * V), screen_colours().dark);
}

}  // namespace
}  // namespace pulvitra
