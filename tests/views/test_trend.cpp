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

TEST(TrendView, NoBeatsLeavesThePictureAsItWas) {
  auto ekg = steady_recording(0, 0.0f);
  const QImage image = draw_screen(*ekg);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));
  EXPECT_EQ(image.pixelColor(300, 200), QColor(Qt::magenta));
}

}  // namespace
}  // namespace pulvitra
