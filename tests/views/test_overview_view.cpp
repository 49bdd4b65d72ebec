#include <gtest/gtest.h>

#include "views/canvas.h"
#include "views/overview_view.h"
#include "tests/support/view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

const QColor kBlueRgb(0, 0, 255);
const QColor kRedRgb(255, 0, 0);
const QColor kBlackRgb(0, 0, 0);

// The screen overview; wider than the window's image to see what runs past its edge.
QImage draw(const TEKG& ekg, PageReader& reader, int position, int width = 545) {
  QImage image(width, 398, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  // The placement of the window's first size, whatever the image's width.
  const ScreenScale first_size{kOverviewImageSize, kOverviewImageSize, 1.0};
  draw_overview(painter, ekg, reader, screen_overview_placement(first_size), position);
  return image;
}

QImage draw(const TEKG& ekg, int position, int width = 545) {
  PageReader reader;
  return draw(ekg, reader, position, width);
}

// 125 lies 125 * 92 div 256 = 44 pixels above the base line of strip 1 (y = 97).
constexpr int kFlat125 = 97 - 44;

}  // namespace

TEST(OverviewView, strips_show_nine_pages_with_the_first_and_last_in_blue) {
  auto ekg = new_recording();
  for (int p = 1; p <= kPageCount; ++p) set_page(*ekg, p, repeat(125, 180));
  PageReader reader;
  const QImage image = draw(*ekg, reader, 0);
  struct Case {
    int x, y;
    QColor colour;
    const char* what;
  } cases[] = {
      {30, kFlat125, kBlueRgb, "page 1"},       {90, kFlat125, kBlackRgb, "page 2"},
      {500, kFlat125, kBlueRgb, "page 9"},      {30, kFlat125 + 98, kBlueRgb, "strip 2 begins with page 9"},
      {90, kFlat125 + 98, kBlackRgb, "page 10"},
  };
  for (const Case& c : cases) EXPECT_EQ(pixel(image, c.x, c.y), c.colour) << c.what;
  EXPECT_EQ(reader.CurPage, 4 * 8 + 1) << "the last page read";
}

TEST(OverviewView, a_254_code_draws_a_red_line_across_its_strip) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 2, join({repeat(125, 90), {254, 0}, repeat(125, 90)}));
  const QImage image = draw(*ekg, 0);
  // Met with sample 91; its group ends with sample 93 at x = 93 div 3 + 60 + 5 = 96. The
  // mark fills the strip inside its frame, rows 6..96.
  for (int y : {6, 60, 96}) EXPECT_EQ(pixel(image, 96, y), kRedRgb) << "row " << y;
  EXPECT_NE(pixel(image, 95, 60), kRedRgb);
  EXPECT_NE(pixel(image, 97, 60), kRedRgb);
  EXPECT_NE(pixel(image, 96, 5), kRedRgb) << "the frame stays";
}

TEST(OverviewView, after_new_each_flat_page_runs_100_pixels_into_the_next_column) {
  auto ekg = new_recording();  // 300 samples of 125 per page, no end marks
  const QImage image = draw(*ekg, 0, 700);
  // Column 9 begins at x = 486; its 100th point, x = 585, ends the line and is left out.
  for (int x : {486, 560, 584}) EXPECT_EQ(pixel(image, x, kFlat125), kBlueRgb) << "x " << x;
  EXPECT_NE(pixel(image, 586, kFlat125), kBlueRgb);
  EXPECT_NE(pixel(image, 560, kFlat125 - 1), kBlueRgb);
  EXPECT_NE(pixel(image, 560, kFlat125 + 1), kBlueRgb);
}

TEST(OverviewView, a_page_of_four_samples_plots_one_point) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 1, {200, 200, 200, 50});
  const QImage image = draw(*ekg, 0);
  // From the strip's start at y = 107 - (200 * 392 div 4) div 250 = 29 to the one point
  // (6, 97 - 92 * 200 div 256) = (6, 26); the fourth sample is dropped.
  EXPECT_EQ(pixel(image, 6, 29), kBlueRgb);
  EXPECT_EQ(pixel(image, 6, 27), kBlueRgb);
  for (int x = 7; x < 66; ++x)
    for (int y = 6; y < 97; ++y) ASSERT_NE(pixel(image, x, y), kBlueRgb) << x << "," << y;
}

TEST(OverviewView, the_pen_carries_over_from_one_column_to_the_next) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 1, repeat(125, 180));
  set_page(*ekg, 2, repeat(250, 180));
  const QImage image = draw(*ekg, 0);
  // Page 1 ends at (65, 53), page 2 begins at (66, 8): a steep line joins them.
  for (int y = 10; y < 50; ++y)
    EXPECT_TRUE(pixel(image, 65, y) == kBlackRgb || pixel(image, 66, y) == kBlackRgb) << "row " << y;
}

TEST(OverviewView, frames_on_the_screen_and_on_paper) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  const QImage image = draw(*ekg, 0);
  const ViewColours colours = screen_colours();
  EXPECT_EQ(pixel(image, 200, 0), colours.dark) << "sunken border";
  EXPECT_EQ(pixel(image, 200, 397), colours.light) << "sunken border";
  EXPECT_EQ(pixel(image, 200, 5), colours.light) << "strip 1 raised frame";
  EXPECT_EQ(pixel(image, 200, 97), colours.dark) << "strip 1 base line";
  EXPECT_EQ(pixel(image, 200, 50), colours.face);

  // Paper 2100 x 2970: 17 strips from y = 297 + 198 over 2970 - 2 * 198 - 297 - 99 pixels.
  QImage page(2100, 2970, QImage::Format_RGB32);
  page.fill(Qt::white);
  PageReader reader;
  {
    QPainter painter(&page);
    draw_overview(painter, *ekg, reader, printer_overview_placement(2100, 2970), 0);
  }
  EXPECT_EQ(pixel(page, 1000, 495), kBlackRgb) << "strip 1 frame";
  EXPECT_EQ(pixel(page, 1000, 495 + 16 * 2178 / 17), kBlackRgb) << "strip 17 frame";
  EXPECT_EQ(pixel(page, 1000, 600), QColor(Qt::white)) << "no background on paper";
  EXPECT_EQ(reader.CurPage, 16 * 10 + 11);
}
