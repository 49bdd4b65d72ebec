#include <gtest/gtest.h>

#include "views/canvas.h"
#include "views/overview_view.h"
#include "views/redraw.h"
#include "views/selection.h"
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

// A larger window: a taller image shows more strips of the same pitch, a wider one wider strips
// with fewer samples to a point; at ratio 2 the same layout in twice as many device pixels.
TEST(OverviewView, a_larger_image_shows_more_or_wider_strips) {
  struct Case {
    ImageSize logical;
    double ratio;
    int left, width, height, strips, average, last_position, last_page_read;
  } cases[] = {
      {{545, 398}, 1.0, 5, 540, 392, 4, 3, 17, 33},   {{545, 790}, 1.0, 5, 540, 784, 8, 3, 13, 65},
      {{1090, 398}, 1.0, 5, 1085, 392, 4, 2, 17, 33}, {{545, 398}, 2.0, 10, 1080, 784, 4, 2, 17, 33},
      {{545, 500}, 1.0, 5, 540, 494, 5, 3, 16, 41},   {{545, 398}, 1.25, 6, 675, 491, 4, 3, 17, 33},
  };
  auto ekg = new_recording();
  end_every_page(*ekg);
  for (const Case& c : cases) {
    QImage image = make_screen_image(c.logical, c.ratio);
    const OverviewPlacement p = screen_overview_placement(screen_scale(image, c.ratio));
    EXPECT_EQ(p.left, c.left) << c.logical.width << "x" << c.logical.height << " at " << c.ratio;
    EXPECT_EQ(p.top, c.left);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.strips, c.strips);
    EXPECT_EQ(p.average, c.average);
    EXPECT_EQ(overview_last_position(overview_rows(c.logical.height)), c.last_position);
    PageReader reader;
    QPainter painter(&image);
    draw_overview(painter, *ekg, reader, p, 0);
    EXPECT_EQ(reader.CurPage, c.last_page_read) << "the last page of the last strip";
  }
}

// At ratio 2 the trace and the marks are drawn at device resolution, not as blocks of 2 x 2,
// while frames are two device pixels wide, as wide as one window pixel.
TEST(OverviewView, at_ratio_2_traces_are_one_device_pixel_and_frames_two) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 2, join({repeat(125, 90), {254, 0}, repeat(125, 90)}));
  QImage image = make_screen_image(kOverviewImageSize, 2.0);
  ViewTarget target;
  target.screen.overview = &image;
  target.screen.pixel_ratio = 2.0;
  ViewState state;
  state.SelColumn = 3;
  redraw_views(kViewOverview, target, *ekg, state);
  const ViewColours colours = screen_colours();
  // Strip 1: frame from y = 10, base line 196 + 10 - 12 = 194; 125 lies (184 * 125) div 256 = 89
  // above it. The mark, met with sample 91, ends its group of two at x = 46 * 1080 div 810 +
  // 120 + 10 = 191.
  struct Probe {
    int x, y;
    QColor colour;
    const char* what;
  } probes[] = {
      {150, 105, kBlackRgb, "page 2 at 125"},   {150, 104, colours.face, "above the trace"},
      {150, 106, colours.face, "below the trace"},
      {191, 100, kRedRgb, "mark"},              {192, 100, kRedRgb, "mark"},
      {190, 100, colours.face, "left of the mark"}, {193, 100, colours.face, "right of the mark"},
      {191, 11, colours.light, "the mark leaves the frame"},
      {300, 10, colours.light, "strip frame"},  {300, 11, colours.light, "strip frame"},
      {300, 12, colours.face, "inside the strip"},
      {300, 0, colours.dark, "sunken border"},  {300, 1, colours.dark, "sunken border"},
      {300, 795, colours.light, "sunken border"}, {300, 794, colours.light, "sunken border"},
      {300, 793, colours.face, "above the sunken border"},
  };
  for (const Probe& p : probes) EXPECT_EQ(pixel(image, p.x, p.y), p.colour) << p.what << " " << p.x << "," << p.y;

  // The selection, columns 3 to 5: its top edge four device pixels wide around y = 10 - 4.
  const QColor cyan_on_face(colours.face.red(), colours.face.green() ^ 255, colours.face.blue() ^ 255);
  const int x = 3 * 1080 / 9 + 10 + 100;
  for (int y = 4; y <= 7; ++y) EXPECT_EQ(pixel(image, x, y), cyan_on_face) << "selection row " << y;
  for (int y : {3, 8}) EXPECT_NE(pixel(image, x, y), cyan_on_face) << "selection row " << y;
  const QImage drawn = image.copy();
  const ScreenScale scale = screen_scale(image, 2.0);
  toggle_selection(image, state, scale);
  EXPECT_EQ(pixel(image, x, 5), colours.face) << "removed";
  toggle_selection(image, state, scale);
  EXPECT_EQ(image, drawn);
}
