// The trend page: axes alone for the empty recording, marks one pixel apart, the curve on
// the 40..160 scale and the seconds scale restarting at every begin/end mark.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <memory>
#include <vector>

#include "views/trend_view.h"
#include "views/screen_sizes.h"
#include "tests/support/scaled_screen.h"

namespace pulvitra {
namespace {

// Screen placement: L 40, T 7, W 544, U 27; the plot runs from y 7 to 7 + 12 x 27 + 1 = 332.
constexpr int kL = 40;
constexpr int kT = 7;
constexpr int kW = 544;
constexpr int kBottom = kT + 12 * 27;  // 331, the time ticks hang below it

std::unique_ptr<TEKG> steady_recording(int beats, float rate) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  for (int k = 1; k <= beats; ++k) ekg->BeatRate[k] = rate;
  ekg->BeatCount = static_cast<std::uint16_t>(beats);
  return ekg;
}

QImage draw_screen(const TEKG& ekg) {
  QImage image(kTrendImageSize.width, kTrendImageSize.height, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  draw_trend(painter, ekg, ViewTarget{});
  return image;
}

bool is_black(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); }

TEST(TrendView, EmptyRecordingDrawsTheAxesOnly) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);  // BeatCount 1, rate 0
  const QImage image = draw_screen(*ekg);
  EXPECT_TRUE(is_black(image, kL - 3, kT));       // tick of 160
  EXPECT_TRUE(is_black(image, kL - 3, kBottom));  // tick of 40
  for (int y = kT + 1; y < kBottom + 1; ++y)
    for (int x = kL + 1; x < kL + kW; ++x) {
      const QColor c = image.pixelColor(x, y);
      ASSERT_NE(c, QColor(Qt::black)) << x << "," << y;
      ASSERT_NE(c, QColor(0, 128, 0)) << x << "," << y;
    }
  for (int x = kL; x < kL + kW; ++x) ASSERT_FALSE(is_black(image, x, kBottom + 3)) << x;
}

TEST(TrendView, BothMarkBitsDrawGreenAndRedOnePixelApart) {
  auto ekg = steady_recording(4, 60.0f);
  ekg->BeatFlags[2] = kFlagStartRecord | kFlagCode254;
  const QImage image = draw_screen(*ekg);
  // Beat 2 ends at 2 of 4 seconds: offset round(544 x 2000 / 4000) = 272.
  EXPECT_EQ(image.pixelColor(kL + 272, 100), QColor(0, 128, 0));
  EXPECT_EQ(image.pixelColor(kL + 273, 100), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(kL + 272, kT + 1), QColor(0, 128, 0));
  EXPECT_EQ(image.pixelColor(kL + 272, kBottom), QColor(0, 128, 0));
}

TEST(TrendView, CurveFollowsTheRateScale) {
  struct Case {
    float rate;
    int y;
  };
  // Y = 7 + 1 + 16 x 27 - round(27 x rate / 10)
  const Case cases[] = {{160.0f, kT + 1}, {40.0f, kBottom + 1}, {60.0f, 278}, {75.0f, 238}};
  for (const Case& c : cases) {
    const QImage image = draw_screen(*steady_recording(20, c.rate));
    EXPECT_TRUE(is_black(image, 300, c.y)) << "rate " << c.rate;
    EXPECT_FALSE(is_black(image, 300, c.y - 1)) << "rate " << c.rate;
  }
}

TEST(TrendView, SecondsScaleRestartsAtEveryBeginEndMark) {
  // 60 beats of one second each. Ticks at the first beat and past every 30 s; a begin/end
  // mark at beat 40 starts a new tick there although the last tick was only 8 s before.
  auto ekg = steady_recording(60, 60.0f);
  auto tick_x = [](int ms) { return static_cast<int>(std::nearbyint(544.0 * ms / 60000 + kL)) - 2; };
  const QImage plain = draw_screen(*ekg);
  EXPECT_TRUE(is_black(plain, tick_x(1000), kBottom + 3));
  EXPECT_TRUE(is_black(plain, tick_x(32000), kBottom + 3));
  EXPECT_FALSE(is_black(plain, tick_x(40000), kBottom + 3));

  ekg->BeatFlags[40] = kFlagStartRecord;
  const QImage marked = draw_screen(*ekg);
  EXPECT_TRUE(is_black(marked, tick_x(1000), kBottom + 3));
  EXPECT_TRUE(is_black(marked, tick_x(32000), kBottom + 3));
  EXPECT_TRUE(is_black(marked, tick_x(40000), kBottom + 3));
}

TEST(TrendView, PlotGrowsWithTheImageAndDrawsAtDeviceResolution) {
  // The plot's width follows the image's, its unit U 24/25 of the height grown, divided among
  // 12 units; at ratio R every length is R times, the frame R pixels wide, the curve one.
  struct Case {
    ImageSize size;
    double ratio;
    int L, T, W, U;
    int y60;  // the curve of a steady 60 per minute: T + 1 + 16 U - 6 U
  } cases[] = {
      {kTrendImageSize, 1.0, 40, 7, 544, 27, 278},
      {{1180, 578}, 1.0, 40, 7, 1129, 43, 438},  // U = (324 + 212 x 24 / 25) div 12
      {kTrendImageSize, 2.0, 80, 14, 1088, 54, 555},
      {kTrendImageSize, 1.5, 60, 10, 816, 40, 411},
  };
  const auto ekg = steady_recording(20, 60.0f);
  const QRgb light = QGuiApplication::palette().color(QPalette::Light).rgb();
  const QRgb dark = QGuiApplication::palette().color(QPalette::Dark).rgb();
  for (const Case& c : cases) {
    const QImage image =
        test::draw_scaled_screen(c.size, c.ratio, [&](QPainter& p, const ViewTarget& t) { draw_trend(p, *ekg, t); });
    const TrendPlacement p = screen_trend_placement(screen_scale(image, c.ratio));
    EXPECT_EQ(std::vector<int>({p.L, p.T, p.W, p.U}), std::vector<int>({c.L, c.T, c.W, c.U})) << c.ratio;
    const int line = static_cast<int>(c.ratio + 0.5);
    const int y = c.T + c.U / 2;  // between two grid lines
    for (int k = 0; k < line; ++k) {
      EXPECT_EQ(image.pixel(c.L + k, y), light) << c.ratio;
      EXPECT_EQ(image.pixel(c.L + c.W + k, y), dark) << c.ratio;  // covering the far window pixel
    }
    EXPECT_NE(image.pixel(c.L + line, y), light) << c.ratio;
    const int x = c.L + c.W / 2;
    EXPECT_TRUE(is_black(image, x, c.y60)) << c.ratio;
    EXPECT_FALSE(is_black(image, x, c.y60 - 1)) << c.ratio;
    EXPECT_FALSE(is_black(image, x, c.y60 + 1)) << c.ratio;
  }
}

TEST(TrendView, NoBeatsLeavesThePictureAsItWas) {
  auto ekg = steady_recording(0, 0.0f);
  const QImage image = draw_screen(*ekg);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));
  EXPECT_EQ(image.pixelColor(300, 200), QColor(Qt::magenta));
}

}  // namespace
}  // namespace pulvitra
