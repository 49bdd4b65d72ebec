// The drawing vocabulary the views share: the fixed colours and image sizes the pictures
// rely on, the pen that leaves out end points, frames, text, device marks, the chart frame.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "views/canvas.h"
#include "views/print_layout.h"
#include "views/screen_image.h"
#include "views/screen_sizes.h"
#include "tests/support/view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

QImage white_image(int width = 60, int height = 40) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

bool is_black(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(0, 0, 0); }

}  // namespace

TEST(Canvas, the_fixed_colours_are_those_the_pictures_show) {
  struct Case {
    const char* role;
    QColor colour;
    int r, g, b;
  } cases[] = {
      {"black", kBlack, 0, 0, 0},     {"white", kWhite, 255, 255, 255}, {"grid", kGrid, 128, 128, 128},
      {"blue", kBlue, 0, 0, 255},     {"red", kRed, 255, 0, 0},         {"green", kGreen, 0, 128, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.colour, QColor(c.r, c.g, c.b)) << c.role;
  const ViewColours paper = view_colours(true);
  EXPECT_EQ(paper.face, QColor(255, 255, 255));
  EXPECT_EQ(paper.light, QColor(0, 0, 0));
  EXPECT_EQ(paper.dark, QColor(0, 0, 0));
}

TEST(Canvas, the_screen_images_have_the_sizes_of_the_window) {
  struct Case {
    const char* view;
    ImageSize size;
    int width, height;
  } cases[] = {{"overview", kOverviewImageSize, 545, 398}, {"zoom", kZoomImageSize, 550, 313},
               {"histogram", kHistogramImageSize, 590, 289}, {"trend", kTrendImageSize, 595, 366},
               {"lorenz", kLorenzImageSize, 452, 412}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.size.width, c.width) << c.view;
    EXPECT_EQ(c.size.height, c.height) << c.view;
  }
}

TEST(Canvas, the_step_walk_rounds_to_the_nearest_pixel_and_leaves_out_the_end) {
  QImage image = white_image();
  {
    QPainter painter(&image);
    Canvas canvas(painter);
    canvas.move_to(10, 10);
    canvas.line_to(14, 12);  // 4 steps across, 2 down: k * 2 / 4 rounded, halves away from zero
  }
  for (QPoint p : {QPoint(10, 10), QPoint(11, 11), QPoint(12, 11), QPoint(13, 12)})
    EXPECT_TRUE(is_black(image, p.x(), p.y())) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(14, 12), QPoint(11, 10), QPoint(12, 12)})
    EXPECT_FALSE(is_black(image, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST(Canvas, both_walks_leave_out_the_end_point_and_keep_the_pen_there) {
  for (LineWalk walk : {LineWalk::kNearestStep, LineWalk::kPainter}) {
    QImage image = white_image();
    {
      QPainter painter(&image);
      Canvas canvas(painter, false, walk);
      canvas.move_to(5, 5);
      canvas.line_to(25, 5);
      EXPECT_EQ(canvas.pen_pos(), QPoint(25, 5));
    }
    EXPECT_TRUE(is_black(image, 5, 5));
    EXPECT_TRUE(is_black(image, 24, 5));
    EXPECT_FALSE(is_black(image, 25, 5)) << "end point, walk " << static_cast<int>(walk);
  }
}

TEST(Canvas, dotted_grey_lines_have_gaps_and_wide_pens_are_wider) {
  QImage image = white_image();
  {
    QPainter painter(&image);
    Canvas canvas(painter, false, LineWalk::kPainter);
    canvas.set_pen_dotted_grey();
    canvas.move_to(0, 5);
    canvas.line_to(40, 5);
    canvas.set_pen_solid();
    canvas.set_pen_width(2);
    canvas.move_to(0, 20);
    canvas.line_to(40, 20);
  }
  int grey = 0, white = 0;
  for (int x = 0; x < 39; ++x) {
    if (image.pixelColor(x, 5) == QColor(128, 128, 128)) ++grey;
    if (image.pixelColor(x, 5) == QColor(Qt::white)) ++white;
  }
  EXPECT_GT(grey, 10);
  EXPECT_GT(white, 10);
  EXPECT_EQ(is_black(image, 20, 19) + is_black(image, 20, 20) + is_black(image, 20, 21), 2) << "two pixels wide";
}

TEST(Canvas, fills_leave_out_the_right_and_bottom_edge) {
  QImage image = white_image();
  {
    QPainter painter(&image);
    Canvas canvas(painter);
    canvas.fill_rect(10, 10, 12, 13, kRed);
    canvas.fill_rect(30, 10, 30, 20, kRed);  // empty
  }
  EXPECT_EQ(image.pixelColor(11, 12), kRed);
  EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(11, 13), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(30, 15), QColor(Qt::white));
}

TEST(Canvas, a_bevel_is_light_at_its_first_corner_and_dark_at_its_second) {
  struct Case {
    bool printer;
    int x1, y1, x2, y2;
    QPoint light, dark;
  } cases[] = {
      {false, 10, 10, 40, 30, {10, 20}, {40, 20}},  // raised: light left and top
      {false, 40, 30, 10, 10, {40, 20}, {10, 20}},  // sunken: the corners swapped
      {true, 10, 10, 40, 30, {10, 20}, {40, 20}},   // on paper both edges black
  };
  for (const Case& c : cases) {
    QImage image = white_image();
    ViewColours colours;
    {
      QPainter painter(&image);
      Canvas canvas(painter, c.printer);
      colours = canvas.colours();
      canvas.bevel(c.x1, c.y1, c.x2, c.y2);
    }
    EXPECT_EQ(image.pixelColor(c.light), c.printer ? kBlack : colours.light);
    EXPECT_EQ(image.pixelColor(c.dark), c.printer ? kBlack : colours.dark);
    EXPECT_EQ(image.pixelColor(25, c.y1), c.printer ? kBlack : colours.light) << "edge along y1";
    EXPECT_EQ(image.pixelColor(25, c.y2), c.printer ? kBlack : colours.dark) << "edge along y2";
  }
}

TEST(Canvas, text_on_a_background_covers_one_line_as_wide_as_the_text) {
  QImage image = white_image(120, 40);
  int width = 0, height = 0;
  {
    QPainter painter(&image);
    Canvas canvas(painter);
    canvas.use_screen_font();
    width = canvas.text_width(QStringLiteral("1:02"));
    height = canvas.text_height();
    canvas.text_out(10, 5, QStringLiteral("1:02"), kGreen);
  }
  EXPECT_EQ(height, QFontMetrics(screen_font()).height());
  EXPECT_EQ(image.pixelColor(10, 5), kGreen);
  EXPECT_EQ(image.pixelColor(10 + width, 5), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(10, 5 + height), QColor(Qt::white));
  int black = 0;
  for (int y = 5; y < 5 + height; ++y)
    for (int x = 10; x < 10 + width; ++x) black += is_black(image, x, y);
  EXPECT_GT(black, 10) << "the digits are black";
}

TEST(Canvas, device_marks_are_drawn_in_order_and_their_flags_cleared) {
  struct Case {
    bool pace, event, start;
    QColor last;
    bool restarts;
  } cases[] = {
      {true, false, false, kBlue, false},
      {false, true, false, kRed, false},
      {false, false, true, kGreen, true},
      {true, true, false, kRed, false},  // the event mark is drawn over the pace mark
      {true, true, true, kGreen, true},
      {false, false, false, QColor(Qt::white), false},
  };
  for (const Case& c : cases) {
    DeviceMarks marks{c.pace, c.event, c.start};
    QImage image = white_image();
    bool restarts = false;
    {
      QPainter painter(&image);
      Canvas canvas(painter);
      restarts = canvas.device_marks(marks, 20, 5, 30);
    }
    EXPECT_EQ(image.pixelColor(20, 5), c.last);
    EXPECT_EQ(image.pixelColor(20, 29), c.last);
    EXPECT_EQ(image.pixelColor(20, 30), QColor(Qt::white)) << "bottom left out";
    EXPECT_EQ(image.pixelColor(21, 15), QColor(Qt::white)) << "one pixel wide";
    EXPECT_EQ(restarts, c.restarts);
    EXPECT_EQ(marks, DeviceMarks{});
  }
}

TEST(Canvas, a_chart_on_the_screen_gets_background_and_border_and_the_painter_back) {
  // A view of 60 x 40 window pixels with the border's far corner 2 pixels in: at ratio 2 every
  // edge is 2 device pixels wide and covers the window pixel it covers at ratio 1.
  struct Case {
    double ratio;
    int line;         // border width in device pixels
    int light_x;      // first light column of the far edge
    int image_width;  // in device pixels
  } cases[] = {{1.0, 1, 58, 60}, {2.0, 2, 116, 120}};
  for (const Case& c : cases) {
    QImage image = make_screen_image({60, 40}, c.ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont font_before = painter.font();
    ViewTarget target;
    target.screen.pixel_ratio = c.ratio;
    ViewColours colours;
    draw_chart(painter, target, ChartFrame{QStringLiteral("Titel"), 0, 2}, [&](Canvas& canvas) {
      colours = canvas.colours();
      EXPECT_EQ(painter.font(), screen_font());
      canvas.set_font(10, true);
    });
    EXPECT_EQ(painter.font(), font_before);
    painter.end();
    const int y = image.height() / 2;
    EXPECT_EQ(image.pixelColor(30, y), colours.face);
    // The sunken border: dark at the top-left, light along the far corner (width - 2, height - 2).
    for (int k = 0; k < c.line; ++k) {
      EXPECT_EQ(image.pixelColor(k, y), colours.dark) << "ratio " << c.ratio;
      EXPECT_EQ(image.pixelColor(c.light_x + k, y), colours.light) << "ratio " << c.ratio;
    }
    EXPECT_EQ(image.pixelColor(c.line, y), colours.face) << "ratio " << c.ratio;
    for (int x = c.light_x + c.line; x < c.image_width; ++x)
      EXPECT_EQ(image.pixelColor(x, y), colours.face) << "ratio " << c.ratio;
  }
}

TEST(Canvas, a_printed_chart_gets_its_title_and_leaves_its_font_for_the_next) {
  QImage page = white_image(700, 400);
  QPainter painter(&page);
  ViewTarget target;
  target.printer = true;
  target.page = {&painter, 700, 400};
  QFont inside;
  draw_chart(painter, target, ChartFrame{QStringLiteral("Trend-Diagramm"), 50, 1}, [&](Canvas& canvas) {
    inside = painter.font();
    EXPECT_EQ(inside.pointSize(), 7) << "the title leaves normal 7 pt";
    EXPECT_FALSE(inside.bold());
    canvas.set_font(9, false);
  });
  EXPECT_EQ(painter.font().pointSize(), 9);
  painter.end();
  EXPECT_EQ(page.pixelColor(0, 0), QColor(Qt::white)) << "no background on paper";
  // print_left = 700 div 7 = 100; the title hangs TW("XXX") to the left of it, from y = 50.
  int black = 0;
  for (int y = 50; y < 80; ++y)
    for (int x = 40; x < 300; ++x) black += is_black(page, x, y);
  EXPECT_GT(black, 20);
}

TEST(PrintLayout, the_page_units_follow_the_page_size) {
  struct Case {
    int width, height, top, row, left, gap;
  } cases[] = {{2480, 3508, 350, 116, 354, 233}, {3508, 2480, 248, 82, 501, 165}, {700, 400, 40, 13, 100, 26}};
  for (const Case& c : cases) {
    const PrintUnits units = print_units(c.width, c.height);
    EXPECT_EQ(units.print_top, c.top) << c.width << " x " << c.height;
    EXPECT_EQ(units.print_row, c.row) << c.width << " x " << c.height;
    EXPECT_EQ(units.print_left, c.left) << c.width << " x " << c.height;
    EXPECT_EQ(units.print_gap, c.gap) << c.width << " x " << c.height;
  }
}
