#include <gtest/gtest.h>

#include "views/bevel.h"
#include "views/overview_view.h"
#include "view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// Draws the screen overview into an image of the screen size (or wider, to see what runs
// past the right edge).
QImage draw(TEKG& ekg, int position, int width = 545) {
  QImage image(width, 398, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw_overview(painter, ekg, screen_overview_placement(), position);
  return image;
}

// Each page a flat line at the same value, 180 samples and the end mark.
void flat_pages(TEKG& ekg, int value) {
  for (int p = 1; p <= kPageCount; ++p) set_page(ekg, p, repeat(value, 180));
}

// 125 lies 125 * 92 div 256 = 44 pixels above the base line of its strip (base 97, 195, ...).
constexpr int kFlat125Strip1 = 97 - 44;
constexpr int kFlat125Strip2 = 97 + 98 - 44;

}  // namespace

TEST(OverviewView, strips_show_nine_pages_with_the_first_and_last_in_blue) {
  auto ekg = new_recording();
  flat_pages(*ekg, 125);
  const QImage image = draw(*ekg, 0);
  struct Case {
    int x, y;
    QColor colour;
    const char* what;
  } cases[] = {
      {30, kFlat125Strip1, kBlue, "page 1, column 1 of strip 1"},
      {90, kFlat125Strip1, kBlack, "page 2"},
      {450, kFlat125Strip1, kBlack, "page 8"},
      {500, kFlat125Strip1, kBlue, "page 9, the ninth column of strip 1"},
      {30, kFlat125Strip2, kBlue, "page 9 again, first column of strip 2"},
      {90, kFlat125Strip2, kBlack, "page 10"},
  };
  for (const Case& c : cases) EXPECT_EQ(pixel(image, c.x, c.y), c.colour) << c.what;
  // Strip 1 reads pages 1..9 and strip 4 ends with page 4 * 8 + 1.
  EXPECT_EQ(ekg->CurPage, 33);
}

TEST(OverviewView, scrolled_overview_starts_with_the_strip_of_its_position) {
  auto ekg = new_recording();
  clear_pages(*ekg);
  set_page(*ekg, 17, repeat(250, 180));  // page 17: first column of the strip o = 2
  const QImage image = draw(*ekg, 2);
  // 250 is 92 * 250 div 256 = 89 pixels above the base line.
  EXPECT_EQ(pixel(image, 30, 97 - 89), kBlue);
  EXPECT_EQ(ekg->CurPage, (3 + 2) * 8 + 9);
}

TEST(OverviewView, a_254_code_draws_a_red_line_across_its_strip) {
  auto ekg = new_recording();
  clear_pages(*ekg);
  set_page(*ekg, 2, join({repeat(125, 90), {254, 0}, repeat(125, 90)}));
  const QImage image = draw(*ekg, 0);
  // The code is met with the 91st sample; its group of three ends with sample 93, plotted
  // at x = 93 div 3 + 60 + 5 = 96. The mark spans the strip inside its frame, rows 6..96.
  for (int y : {6, 20, 60, 96}) EXPECT_EQ(pixel(image, 96, y), kRed) << "row " << y;
  EXPECT_NE(pixel(image, 95, 20), kRed);
  EXPECT_NE(pixel(image, 97, 20), kRed);
  EXPECT_NE(pixel(image, 96, 5), kRed) << "the strip's frame stays";
  EXPECT_FALSE(ekg->SawCode254) << "drawn marks are cleared";
}

TEST(OverviewView, after_new_each_flat_page_runs_100_pixels_into_the_next_column) {
  auto ekg = new_recording();  // 300 samples of 125 per page, no end marks
  const QImage image = draw(*ekg, 0, 700);
  // Column 9 of strip 1 begins at x = 1 + 480 + 5 = 486 and its 100th point is x = 585; a
  // line leaves out its end point, so the blue line covers 486..584.
  for (int x : {486, 530, 560, 584}) EXPECT_EQ(pixel(image, x, kFlat125Strip1), kBlue) << "x " << x;
  EXPECT_NE(pixel(image, 586, kFlat125Strip1), kBlue);
  for (int y = 6; y < 97; ++y) {
    if (y == kFlat125Strip1) continue;
    EXPECT_NE(pixel(image, 560, y), kBlue) << "flat at 44 pixels, row " << y;
  }
}

TEST(OverviewView, a_page_of_four_samples_plots_one_point) {
  auto ekg = new_recording();
  clear_pages(*ekg);
  set_page(*ekg, 1, {200, 200, 200, 50});
  const QImage image = draw(*ekg, 0);
  // The strip starts at y = 98 + 5 + 4 - (200 * 392 div 4) div 250 = 29; the one point is
  // the average of the first three samples at x = 6, y = 97 - 92 * 200 div 256 = 26.
  EXPECT_EQ(pixel(image, 6, 29), kBlue);
  EXPECT_EQ(pixel(image, 6, 27), kBlue);
  for (int x = 7; x < 66; ++x)
    for (int y = 6; y < 97; ++y) ASSERT_NE(pixel(image, x, y), kBlue) << "second point at " << x << "," << y;
}

TEST(OverviewView, the_pen_carries_over_from_one_column_to_the_next) {
  auto ekg = new_recording();
  clear_pages(*ekg);
  set_page(*ekg, 1, repeat(125, 180));
  set_page(*ekg, 2, repeat(250, 180));
  const QImage image = draw(*ekg, 0);
  // Page 1 ends at (65, 53), page 2's first point is (66, 8): a steep line joins them.
  for (int y = 10; y < 50; ++y) {
    const bool joined = pixel(image, 65, y) == kBlack || pixel(image, 66, y) == kBlack;
    EXPECT_TRUE(joined) << "row " << y;
  }
}

TEST(OverviewView, screen_background_frames_and_border) {
  auto ekg = new_recording();
  clear_pages(*ekg);
  const QImage image = draw(*ekg, 0);
  const ViewColours colours = screen_colours();
  struct Case {
    int x, y;
    QColor colour;
    const char* what;
  } cases[] = {
      {200, 0, colours.dark, "sunken border: dark top edge"},
      {0, 200, colours.dark, "sunken border: dark left edge"},
      {200, 397, colours.light, "sunken border: light bottom edge"},
      {200, 5, colours.light, "strip 1 raised frame: light top"},
      {5, 50, colours.light, "strip 1 raised frame: light left"},
      {200, 97, colours.dark, "strip 1 raised frame: dark base line"},
      {200, 103, colours.light, "strip 2 frame top at 98 + 5"},
      {200, 50, colours.face, "inside a strip: background"},
      {200, 2, colours.face, "between border and strip: background"},
  };
  for (const Case& c : cases) EXPECT_EQ(pixel(image, c.x, c.y), c.colour) << c.what;
}

TEST(OverviewView, printer_overview_has_17_strips_of_ten_pages_with_black_frames) {
  auto ekg = new_recording();
  flat_pages(*ekg, 125);
  const int pw = 2100, ph = 2970;
  QImage page(pw, ph, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    draw_overview(painter, *ekg, printer_overview_placement(pw, ph), 0);
  }
  // print_left 300, top 297 + 198 = 495, height 2970 - 396 - 297 - 99 = 2178, pitch 128.
  const OverviewPlacement pl = printer_overview_placement(pw, ph);
  EXPECT_EQ(pl.left, 300);
  EXPECT_EQ(pl.top, 495);
  EXPECT_EQ(pl.width, 1500);
  EXPECT_EQ(pl.height, 2178);
  EXPECT_EQ(pixel(page, 1000, 495), kBlack) << "strip 1 frame";
  EXPECT_EQ(pixel(page, 1000, 495 + 16 * 2178 / 17), kBlack) << "strip 17 frame";
  EXPECT_EQ(pixel(page, 10, 10), QColor(Qt::white)) << "no background on paper";
  EXPECT_EQ(ekg->CurPage, 16 * 10 + 11);
}
