#include <gtest/gtest.h>

#include "recording/decoder.h"
#include "views/canvas.h"
#include "views/redraw.h"
#include "views/selection.h"
#include "tests/support/view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

QColor xor_cyan(const QColor& c) { return QColor(c.red(), c.green() ^ 255, c.blue() ^ 255); }

struct Screen {
  QImage zoom = screen_image(kZoomImageSize);
  QImage overview = screen_image(kOverviewImageSize);
  QImage trend = screen_image(kTrendImageSize);
  QImage histogram = screen_image(kHistogramImageSize);
  QImage lorenz = screen_image(kLorenzImageSize);
  Screen() {
    for (QImage* i : {&zoom, &overview, &trend, &histogram, &lorenz}) i->fill(Qt::white);
  }
  ViewTarget target() {
    ViewTarget t;
    t.screen = {&zoom, &overview, &trend, &histogram, &lorenz};
    return t;
  }
};

}  // namespace

TEST(Selection, exclusive_or_twice_restores_the_picture) {
  QImage image = screen_image(kOverviewImageSize);
  const QColor face = screen_colours().face;
  image.fill(face);
  ViewState state;
  state.SelColumn = 2;
  state.SelRow = 1;
  const QImage before = image.copy();
  toggle_selection(image, state, screen_scale(image, 1.0));
  // The outline runs from (60 * 2 + 3, 98 + 3) to (60 * 5 + 7, 98 + 99), two pixels wide.
  EXPECT_EQ(image.pixelColor(200, 101), xor_cyan(face)) << "top edge";
  EXPECT_EQ(image.pixelColor(200, 197), xor_cyan(face)) << "bottom edge";
  EXPECT_EQ(image.pixelColor(123, 150), xor_cyan(face)) << "left edge";
  EXPECT_EQ(image.pixelColor(307, 150), xor_cyan(face)) << "right edge";
  EXPECT_EQ(image.pixelColor(200, 150), face) << "inside stays";
  toggle_selection(image, state, screen_scale(image, 1.0));
  EXPECT_EQ(image, before);
}

TEST(RedrawViews, kinds_draw_their_views_and_leave_the_page_reader_where_stated) {
  struct Case {
    int kind;
    bool zoom, overview;
    int cur_page;
  } cases[] = {
      {kViewAll, true, true, 33},       // the overview draws after the zoom
      {kViewOverview, false, true, 33},
      {kViewZoom, true, false, 7},      // page 5 at 200 %: pages 5 and 6
      {kViewTrend, false, false, 1},
      {kViewStatisticsOnly, false, false, 1},
  };
  for (const Case& c : cases) {
    auto ekg = new_recording();
    end_every_page(*ekg);
    Screen screen;
    ViewState state;
    state.zoom_pos = 5;
    const PageReader reader = redraw_views(c.kind, screen.target(), *ekg, state);
    EXPECT_EQ(screen.zoom.pixelColor(100, 100) != QColor(Qt::white), c.zoom) << "kind " << c.kind;
    EXPECT_EQ(screen.overview.pixelColor(100, 100) != QColor(Qt::white), c.overview) << "kind " << c.kind;
    EXPECT_EQ(reader.CurPage, c.cur_page) << "kind " << c.kind;
  }
}

TEST(RedrawViews, the_overview_on_the_screen_ends_with_the_selection) {
  auto ekg = new_recording();
  Screen screen;
  redraw_views(kViewOverview, screen.target(), *ekg, ViewState{});
  EXPECT_EQ(screen.overview.pixelColor(100, 3), xor_cyan(screen_colours().face)) << "column 0, row 0";
}

// A pace code after the last sample of the zoom's page is met as the page ends, too late for
// a mark there: it shows at the first point the next drawing makes, page 5 of the overview at
// x = 3 div 3 * 540 div 540 + 4 * 540 div 9 + 5 = 246, unless that drawing has its own marks.
TEST(RedrawViews, a_mark_met_as_the_zoom_ends_shows_at_the_next_drawings_first_point) {
  const struct {
    bool carried;
    bool blue;
  } cases[] = {{true, true}, {false, false}};
  for (const auto& c : cases) {
    auto ekg = new_recording();
    end_every_page(*ekg);
    set_page(*ekg, 5, join({repeat(125, 180), {253}}));
    DeviceMarks marks;
    Screen screen;
    ViewTarget target = screen.target();
    target.marks = c.carried ? &marks : nullptr;
    ViewState state;
    state.zoom_pos = 5;
    state.zoom_factor = 300;
    redraw_views(kViewZoom, target, *ekg, state);
    EXPECT_EQ(marks.SawCode253, c.carried);
    redraw_views(kViewOverview, target, *ekg, state);
    EXPECT_EQ(screen.overview.pixelColor(246, 20) == QColor(0, 0, 255), c.blue) << "carried " << c.carried;
    EXPECT_NE(screen.overview.pixelColor(245, 20), QColor(0, 0, 255));
  }
}

TEST(RedrawViews, views_that_need_beats_keep_their_picture_without_beats) {
  auto ekg = new_recording();
  Screen screen;
  redraw_views(kViewAll, screen.target(), *ekg, ViewState{});
  for (const QImage* image : {&screen.trend, &screen.histogram, &screen.lorenz})
    EXPECT_EQ(image->pixelColor(5, 5), QColor(Qt::white));
}

TEST(RedrawViews, the_printer_zoom_draws_inside_its_black_frame) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  const int pw = 3300, ph = 2550;  // landscape
  QImage page(pw, ph, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  ViewTarget target;
  target.printer = true;
  target.page = {&painter, pw, ph};
  redraw_views(kViewZoom, target, *ekg, ViewState{});
  // Frame from (330, 2 * 2550 div 17 + 191) = (330, 491) to (2970, 1593 + 191) = (2970, 1784).
  EXPECT_EQ(page.pixelColor(1000, 491), QColor(Qt::black));
  EXPECT_EQ(page.pixelColor(1000, 1784), QColor(Qt::black));
  EXPECT_EQ(page.pixelColor(330, 1000), QColor(Qt::black));
  EXPECT_EQ(page.pixelColor(1000, 1000), QColor(Qt::white));
}

namespace pulvitra {
namespace {

TEST(RedrawViewsPrinted, the_printer_zoom_ends_at_its_frame_and_not_at_the_edge_of_the_sheet) {
  TEKG ekg;
  clear_recording(ekg);
  // A trace of alternating samples fills every page; 200 % shows more pages than the frame holds.
  for (std::size_t i = 1; i < ekg.Image.size(); ++i) ekg.Image[i] = i % 2 ? 60 : 200;
  DecoderState decoder;
  decode_recording(ekg, decoder);
  const int pw = 3300, ph = 2550;
  QImage page(pw, ph, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  ViewTarget target;
  target.printer = true;
  target.page = {&painter, pw, ph};
  ViewState state;
  state.zoom_factor = 200;
  redraw_views(kViewZoom, target, ekg, state);
  painter.end();
  // The frame's right edge is at PW - PW div 10 = 2970: ink inside it, none beyond it.
  bool ink_inside = false, ink_beyond = false;
  for (int y = 0; y < ph; y += 3) {
    for (int x = 2900; x < 2970; ++x) ink_inside = ink_inside || page.pixelColor(x, y) != QColor(Qt::white);
    for (int x = 2971; x < pw; ++x) ink_beyond = ink_beyond || page.pixelColor(x, y) != QColor(Qt::white);
  }
  EXPECT_TRUE(ink_inside);
  EXPECT_FALSE(ink_beyond);
}

}  // namespace
}  // namespace pulvitra
