// The view state on its own, as a printed report will use a copy of it: the user's moves on
// it, and the redraw driven by nothing but the state and the recording.
#include <gtest/gtest.h>

#include "views/canvas.h"
#include "views/redraw.h"
#include "tests/support/view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

TEST(ViewState, starts_as_the_window_creates_it) {
  const ViewState state;
  EXPECT_EQ(state.overview_pos, 0);
  EXPECT_EQ(state.SelColumn, 0);
  EXPECT_EQ(state.SelRow, 0);
  EXPECT_EQ(state.LastOverviewPos, 0);
  EXPECT_EQ(state.zoom_pos, 1);
  EXPECT_EQ(state.zoom_factor, 200);
  EXPECT_EQ(state.scale, 0);
  EXPECT_EQ(state.axis, 0);
  EXPECT_EQ(state.limit1, 15);
  EXPECT_EQ(state.limit2, 90);
  EXPECT_EQ(state.selected_first_page(), 1) << "the zoom page at creation";
}

TEST(ViewState, a_press_selects_the_three_pages_around_the_pointer) {
  // In a larger window: 1090 x 790 has eight strips of nine columns 1085 / 9 pixels wide, and
  // rows for the pointer (790 - 34) / 8 pixels apart from y = 2.
  struct Case {
    int x, y, column, row;
    ImageSize size = kOverviewImageSize;
  } cases[] = {
      {0, 50, 0, 0},   {545, 50, 6, 0},  {90, 50, 0, 0},   {124, 50, 0, 0},  {125, 50, 1, 0},
      {185, 50, 2, 0}, {460, 50, 6, 0},  {0, 0, 0, 0},     {0, 92, 0, 0},    {0, 93, 0, 1},
      {0, 275, 0, 3},  {0, 397, 0, 3},   {0, -100, 0, 0},  {9999, 9999, 6, 3},
      {366, 50, 1, 0, {1090, 790}},   {367, 50, 2, 0, {1090, 790}},  {1089, 50, 6, 0, {1090, 790}},
      {0, 663, 0, 6, {1090, 790}},    {0, 664, 0, 7, {1090, 790}},   {0, 789, 0, 7, {1090, 790}},
      {545, 400, 6, 4, {545, 790}},
  };
  for (const Case& c : cases) {
    ViewState state;
    state.overview_size = c.size;
    state.press(c.x, c.y);
    EXPECT_EQ(state.SelColumn, c.column) << "x " << c.x << " in " << c.size.width;
    EXPECT_EQ(state.SelRow, c.row) << "y " << c.y << " in " << c.size.height;
  }
}

TEST(ViewState, a_resized_overview_keeps_the_selected_strip_in_view) {
  struct Case {
    int from_height, position, row, to_height, position_after, row_after;
  } cases[] = {
      {398, 17, 3, 790, 13, 7},  // the last strips: the position comes back into range
      {398, 0, 3, 790, 0, 3},    {398, 5, 2, 790, 5, 2},
      {790, 0, 7, 398, 4, 3},    // strip 7 would fall below the four rows left
      {790, 13, 0, 398, 13, 0},  {398, 2, 1, 500, 2, 1},
  };
  for (const Case& c : cases) {
    ViewState state;
    state.overview_size = {545, c.from_height};
    state.scroll_overview(c.position);
    state.SelRow = c.row;
    state.resize_overview({545, c.to_height});
    EXPECT_EQ(state.overview_pos, c.position_after) << c.position << "/" << c.row << " to " << c.to_height;
    EXPECT_EQ(state.LastOverviewPos, c.position_after);
    EXPECT_EQ(state.SelRow, c.row_after) << c.position << "/" << c.row << " to " << c.to_height;
  }
}

TEST(ViewState, scrolling_keeps_the_selection_on_its_pages_within_the_visible_rows) {
  struct Case {
    int row, from, to, row_after;
  } cases[] = {{2, 0, 1, 1}, {2, 0, 2, 0}, {0, 0, 1, 0}, {1, 3, 2, 2}, {3, 3, 1, 3}, {0, 17, 0, 3}, {1, 5, 5, 1}};
  for (const Case& c : cases) {
    ViewState state;
    state.scroll_overview(c.from);
    state.SelRow = c.row;
    state.scroll_overview(c.to);
    EXPECT_EQ(state.SelRow, c.row_after) << c.row << " from " << c.from << " to " << c.to;
    EXPECT_EQ(state.overview_pos, c.to);
    EXPECT_EQ(state.LastOverviewPos, c.to);
  }
}

TEST(ViewState, the_selection_opens_the_zoom_at_its_first_page_at_100_percent) {
  struct Case {
    int position, column, row, page;
  } cases[] = {{0, 0, 0, 1}, {0, 2, 1, 11}, {1, 3, 2, 28}, {17, 6, 3, 167}, {17, 0, 0, 137}};
  for (const Case& c : cases) {
    ViewState state;
    state.overview_pos = c.position;
    state.SelColumn = c.column;
    state.SelRow = c.row;
    EXPECT_EQ(state.selected_first_page(), c.page);
    state.open_selection_in_zoom();
    EXPECT_EQ(state.zoom_pos, c.page);
    EXPECT_EQ(state.zoom_factor, 100);
  }
}

TEST(ViewState, the_zoom_place_becomes_the_selection_with_its_strip_in_view) {
  // Eight rows (790 pixels high): a strip below them comes onto row 6, the last strips from 13 on.
  struct Case {
    int zoom_page, position;
    int column, row, position_after;
    int height = kOverviewImageSize.height;
  } cases[] = {
      {1, 0, 0, 0, 0},    {11, 0, 2, 1, 0},   {1, 5, 0, 0, 0},     {8, 0, 6, 0, 0},
      {9, 0, 0, 1, 0},    {100, 0, 3, 2, 10}, {100, 15, 3, 0, 12}, {166, 0, 5, 3, 17},
      {167, 0, 6, 3, 17}, {170, 0, 6, 3, 17}, {171, 3, 6, 3, 17},  {0, 4, 0, 0, 0},
      {500, 0, 6, 3, 17}, {100, 0, 3, 6, 6, 790}, {60, 0, 3, 7, 0, 790}, {167, 0, 6, 7, 13, 790},
  };
  for (const Case& c : cases) {
    ViewState state;
    state.overview_size.height = c.height;
    state.scroll_overview(c.position);
    state.zoom_pos = c.zoom_page;
    state.zoom_to_overview();
    EXPECT_EQ(state.SelColumn, c.column) << "zoom at " << c.zoom_page;
    EXPECT_EQ(state.SelRow, c.row) << "zoom at " << c.zoom_page;
    EXPECT_EQ(state.overview_pos, c.position_after) << "zoom at " << c.zoom_page;
    EXPECT_EQ(state.LastOverviewPos, c.position_after) << "zoom at " << c.zoom_page;
  }
}

TEST(ViewState, a_typed_factor_is_clamped_and_other_text_keeps_the_factor) {
  struct Case {
    const char* typed;
    const char* shown;
  } cases[] = {{"500", "400"}, {"10", "20"}, {"75", "75"}, {"abc", "75"}, {" 50 ", "50"},
               {"", "50"},     {"-3", "20"}, {"400", "400"}, {"20", "20"}, {"12.5", "20"}};
  ViewState state;
  for (const Case& c : cases) {
    EXPECT_EQ(state.choose_factor(QString::fromLatin1(c.typed)), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(state.zoom_factor, QString::fromLatin1(c.shown).toInt()) << c.typed;
  }
}

TEST(ViewState, a_copy_drives_the_redraw_without_changing_the_original) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  ViewState shown;
  shown.scroll_overview(1);
  shown.press(215, 103);  // column 2, row 1
  ViewState printed = shown;
  printed.scroll_overview(0);
  EXPECT_EQ(shown.overview_pos, 1);
  EXPECT_EQ(shown.SelRow, 1);

  QImage overview = screen_image(kOverviewImageSize);
  ViewTarget target;
  target.screen.overview = &overview;
  const PageReader reader = redraw_views(kViewOverview, target, *ekg, printed);
  // From strip 1 on, so the page reader ends at the last page of strip 4: 3 * 8 + 9 = 33.
  EXPECT_EQ(reader.CurPage, 33);
  // The selection of the copy: row 2 now (one strip further down), columns 2 to 4.
  const QColor face = screen_colours().face;
  const QColor cyan_on_face(face.red(), face.green() ^ 255, face.blue() ^ 255);
  EXPECT_EQ(overview.pixelColor(200, 98 * 2 + 3), cyan_on_face);
  EXPECT_NE(overview.pixelColor(200, 98 + 3), cyan_on_face);
}
