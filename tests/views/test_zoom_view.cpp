#include <gtest/gtest.h>

#include "views/canvas.h"
#include "views/zoom_view.h"
#include "tests/support/drawn_text.h"
#include "tests/support/view_test_pages.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

const QColor kBlueRgb(0, 0, 255);
const QColor kGreenRgb(0, 128, 0);
const QColor kBlackRgb(0, 0, 0);

// The zoom in a picture of that size in window pixels, at that pixel ratio.
QImage draw(const TEKG& ekg, const ZoomOptions& options, PageReader& reader, ImageSize size = kZoomImageSize,
            double ratio = 1.0) {
  QImage image = make_screen_image(size, ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw_zoom(painter, ekg, reader, screen_zoom_placement(screen_scale(image, ratio)), options);
  return image;
}

QImage draw(const TEKG& ekg, const ZoomOptions& options) {
  PageReader reader;
  return draw(ekg, options, reader);
}

ZoomOptions at(int page, int factor) {
  ZoomOptions o;
  o.first_page = page;
  o.factor = factor;
  return o;
}

// Pages of 180 samples with a time step of 10 per sample: each page lasts 1800 units.
void timed_pages(TEKG& ekg, int value) {
  for (int p = 1; p <= kPageCount; ++p) {
    set_page(ekg, p, repeat(value, 180));
    ekg.PageRate[p] = 10;
    ekg.PageTime[p] = 1800.0f * (p - 1);
  }
}

bool black_in(const QImage& image, int x1, int x2, int y1, int y2) {
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y)
      if (image.pixelColor(x, y) == kBlackRgb) return true;
  return false;
}

}  // namespace

TEST(ZoomView, the_factor_decides_how_many_pages_are_drawn) {
  struct Case {
    int factor, pages;
  } cases[] = {{400, 1}, {300, 1}, {200, 2}, {150, 2}, {100, 3}, {50, 6}, {33, 9}, {25, 12}, {20, 12}};
  for (const Case& c : cases) {
    auto ekg = new_recording();
    timed_pages(*ekg, 125);
    PageReader reader;
    draw(*ekg, at(1, c.factor), reader);
    EXPECT_EQ(reader.CurPage, 1 + c.pages) << "the page after the last one drawn, " << c.factor << " %";
  }
  auto ekg = new_recording();
  PageReader reader;
  draw(*ekg, at(171, 25), reader);  // pages 181 and 182 do not exist and end at once
  EXPECT_EQ(reader.CurPage, 183);
}

TEST(ZoomView, at_200_percent_the_second_page_starts_at_x_363) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 1, repeat(125, 180));
  set_page(*ekg, 2, join({{253}, repeat(125, 180)}));  // a pace code before its first sample
  PageReader reader;
  const QImage image = draw(*ekg, at(1, 200), reader);
  EXPECT_EQ(reader.CurPage, 3);
  // x3(0) of slot 2 = round(0 + 200 * 180 / 100 + 3) = 363; the mark spans rows 26..280.
  for (int y : {26, 60, 280}) EXPECT_EQ(pixel(image, 363, y), kBlueRgb) << "row " << y;
  EXPECT_NE(pixel(image, 362, 60), kBlueRgb);
  EXPECT_NE(pixel(image, 364, 60), kBlueRgb);
  EXPECT_NE(pixel(image, 363, 25), kBlueRgb);
  EXPECT_NE(pixel(image, 363, 281), kBlueRgb);
}

// A larger picture shows the pages larger, as far as both its width and height allow, and
// as many more of them as its width has room for; the frame keeps 5 pixels beside it. The
// pace code that starts page 2 marks where its slot begins; the mark spans the frame's height
// inside it.
TEST(ZoomView, a_larger_picture_shows_larger_pages_and_more_of_them) {
  struct Case {
    ImageSize size;
    int factor, pages, second_page_x, last_mark_row, frame_right;
  } cases[] = {
      {{550, 313}, 100, 3, 183, 280, 545},
      // Width-bound: the trace scale is (1100 - 10) / 540, a page at 100 % 363 pixels wide.
      {{1100, 626}, 100, 3, 364, 541, 1095},
      // Height-bound: pages at the first size, but twice as many of them fit.
      {{1100, 313}, 100, 6, 183, 280, 1095},
      {{1100, 313}, 200, 3, 363, 280, 1095},
  };
  const QColor frame_edge = screen_colours().dark;
  for (const Case& c : cases) {
    auto ekg = new_recording();
    timed_pages(*ekg, 125);
    set_page(*ekg, 2, join({{253}, repeat(125, 180)}));
    PageReader reader;
    const QImage image = draw(*ekg, at(1, c.factor), reader, c.size);
    const std::string where = std::to_string(c.size.width) + "x" + std::to_string(c.size.height);
    EXPECT_EQ(reader.CurPage, 1 + c.pages) << where;
    for (int y : {26, c.last_mark_row}) EXPECT_EQ(pixel(image, c.second_page_x, y), kBlueRgb) << where << " row " << y;
    EXPECT_NE(pixel(image, c.second_page_x, c.last_mark_row + 1), kBlueRgb) << where;
    EXPECT_NE(pixel(image, c.second_page_x + 1, 100), kBlueRgb) << where;
    EXPECT_EQ(pixel(image, c.frame_right, 100), frame_edge) << where;
  }
}

// At ratio 2 every length is twice as many device pixels, and the trace is computed at that
// resolution: a flat trace is one device pixel high, not a block of 2 x 2.
TEST(ZoomView, at_ratio_2_the_trace_is_fine_and_frames_and_marks_are_two_pixels_wide) {
  auto ekg = new_recording();
  timed_pages(*ekg, 100);
  set_page(*ekg, 2, join({{253}, repeat(100, 180)}));
  PageReader reader;
  const QImage image = draw(*ekg, at(1, 100), reader, kZoomImageSize, 2.0);
  ASSERT_EQ(image.size(), QSize(1100, 626));
  const ViewColours colours = screen_colours();
  // The value 100 lies at row 2 * 181 = 362.
  EXPECT_EQ(pixel(image, 100, 362), kBlackRgb);
  EXPECT_NE(pixel(image, 100, 361), kBlackRgb);
  EXPECT_NE(pixel(image, 100, 363), kBlackRgb);
  // The frame from (10, 50) to (1090, 562): two pixels of each edge.
  for (int x : {10, 11}) EXPECT_EQ(pixel(image, x, 200), colours.light) << "column " << x;
  EXPECT_EQ(pixel(image, 12, 200), colours.face);
  for (int y : {561, 562}) EXPECT_EQ(pixel(image, 200, y), colours.dark) << "row " << y;
  // Page 2's pace mark at x = 2 * 183, two columns wide, rows 52..560 inside the frame.
  for (int x : {366, 367}) EXPECT_EQ(pixel(image, x, 52), kBlueRgb) << "column " << x;
  EXPECT_NE(pixel(image, 368, 200), kBlueRgb);
  EXPECT_EQ(pixel(image, 366, 560), kBlueRgb);
  EXPECT_NE(pixel(image, 366, 561), kBlueRgb);
}

TEST(ZoomView, labels_of_beats_and_seconds) {
  struct Beat {
    int rate, scale;
    const char* text;
  } beats[] = {{72, 0, "835"}, {72, 1, "72"}, {60, 0, "1000"}, {180, 0, "335"}, {40, 0, "1500"}};
  for (const Beat& b : beats) EXPECT_EQ(zoom_beat_label(b.rate, b.scale), QString::fromLatin1(b.text)) << b.rate;
  struct Time {
    float ms;
    const char* text;
  } times[] = {{0.0f, "0:00"}, {2000.0f, "0:02"}, {62000.0f, "1:02"}, {59999.0f, "0:59"}, {600000.0f, "10:00"}};
  for (const Time& t : times) EXPECT_EQ(zoom_time_label(t.ms), QString::fromLatin1(t.text)) << t.ms;
}

TEST(ZoomView, a_beat_mark_draws_an_etched_line_and_its_label) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 1, join({repeat(125, 40), {254, 72}, repeat(125, 140)}));
  PageReader reader;
  const QImage image = draw(*ekg, at(1, 100), reader);
  const ViewColours colours = screen_colours();
  // Met with sample i = 40: the line at x3(40) = 43 (dark) and 44 (light), rows 25..281.
  for (int y : {25, 100, 281}) {
    EXPECT_EQ(pixel(image, 43, y), colours.dark) << "row " << y;
    EXPECT_EQ(pixel(image, 44, y), colours.light) << "row " << y;
  }
  // The label "835" begins at x = round(40 - 2) = 38 with its top at y = 10.
  EXPECT_TRUE(black_in(image, 38, 60, 10, 24));
  EXPECT_FALSE(black_in(image, 100, 200, 10, 24)) << "no other beat";
  EXPECT_FALSE(reader.PageBeatSeen);
}

TEST(ZoomView, ticks_every_second_and_labels_at_even_seconds) {
  auto ekg = new_recording();
  timed_pages(*ekg, 125);
  const QImage image = draw(*ekg, at(1, 100));
  // Page 1: t reaches 1000 at sample 99, x3 = 102. Page 2 starts at 1800: 2000 at sample
  // 19, x3 = 180 + 19 + 3 = 202. Page 3 starts at 3600: 4000 at sample 39, x3 = 402.
  for (int x : {102, 202, 402}) EXPECT_EQ(pixel(image, x, 284), kBlackRgb) << "tick at " << x;
  EXPECT_NE(pixel(image, 101, 284), kBlackRgb);
  EXPECT_NE(pixel(image, 102, 287), kBlackRgb) << "ticks are rows 282..286";
  EXPECT_FALSE(black_in(image, 80, 125, 290, 305)) << "1 s is odd: no label";
  EXPECT_TRUE(black_in(image, 185, 220, 290, 305)) << "label 0:02";
  EXPECT_TRUE(black_in(image, 385, 420, 290, 305)) << "label 0:04";

  // In page mode the 2 s tick is labelled with its page's start block.
  ekg->PageStartBlock[2] = 7;
  ZoomOptions pages = at(1, 100);
  pages.axis = 1;
  const QImage paged = draw(*ekg, pages);
  EXPECT_NE(paged, image);
  EXPECT_TRUE(black_in(paged, 195, 210, 290, 305)) << "label 7";
}

TEST(ZoomView, a_start_record_draws_green_and_restarts_the_time) {
  auto ekg = new_recording();
  timed_pages(*ekg, 125);
  set_page(*ekg, 1, join({repeat(125, 50), {255, 0, 1, 1}, repeat(125, 130)}));
  const QImage image = draw(*ekg, at(1, 100));
  // Met with sample 50: green at x3(50) = 53. The time starts again at 0: a labelled tick
  // "0:00" at the next sample (x = 54) and the 1 s tick 100 samples after the restart (x = 153)
  // instead of at 102.
  for (int y : {26, 100, 280}) EXPECT_EQ(pixel(image, 53, y), kGreenRgb) << "row " << y;
  EXPECT_EQ(pixel(image, 54, 284), kBlackRgb);
  EXPECT_EQ(pixel(image, 153, 284), kBlackRgb);
  EXPECT_NE(pixel(image, 102, 284), kBlackRgb);
  EXPECT_TRUE(black_in(image, 40, 70, 290, 305)) << "label 0:00";
  // Page 2 takes its time from the page table again: 2000 at x = 202.
  EXPECT_EQ(pixel(image, 202, 284), kBlackRgb);
}

TEST(ZoomView, a_label_at_the_left_edge_of_the_picture_is_read_whole) {
  auto ekg = new_recording();
  timed_pages(*ekg, 125);
  set_page(*ekg, 1, join({{255, 0, 1, 1}, repeat(125, 179)}));  // a measurement starts right away
  DrawnTextDevice device(kZoomImageSize.width, kZoomImageSize.height, 96);
  QPainter painter(&device);
  PageReader reader;
  draw_zoom(painter, *ekg, reader, screen_zoom_placement(screen_scale(device, 1.0)), at(1, 100));
  // Its "0:00" belongs to a tick at the edge and, centred on it, would begin 8 pixels outside.
  EXPECT_GE(device.box("0:00").left(), 0.0);
}

TEST(ZoomView, the_trace_starts_mid_height_and_bridges_codes_and_zeros) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  set_page(*ekg, 1, join({repeat(100, 20), repeat(0, 20), repeat(100, 140)}));
  const QImage image = draw(*ekg, at(1, 100));
  // The first line runs from (6, 153) down to the first sample at (6, 181).
  for (int y = 153; y < 181; ++y) EXPECT_EQ(pixel(image, 6, y), kBlackRgb) << "row " << y;
  // The zeros at samples 20..39 are not plotted: one straight line at y = 181 bridges them.
  for (int x = 20; x < 50; ++x) EXPECT_EQ(pixel(image, x, 181), kBlackRgb) << "x " << x;
  EXPECT_FALSE(black_in(image, 20, 50, 270, 280)) << "no dip to the zero line";
}

TEST(ZoomView, a_page_of_300_samples_draws_only_its_first_180) {
  auto ekg = new_recording();
  end_every_page(*ekg);
  ekg->Pages[1].fill(100);  // 300 valid samples, no end mark
  set_page(*ekg, 2, repeat(200, 180));
  const QImage image = draw(*ekg, at(1, 100));
  EXPECT_EQ(pixel(image, 150, 181), kBlackRgb);
  EXPECT_NE(pixel(image, 250, 181), kBlackRgb) << "samples 180..299 would reach here";
  EXPECT_EQ(pixel(image, 250, 81), kBlackRgb) << "page 2 in slot 2";
}

#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace pulvitra {
namespace {

// At 600 dpi a label's half width in printer pixels, scaled once more, put it about 22 mm
// left of its tick; each label is centred on its tick.
TEST(ZoomPrinted, time_labels_are_centred_on_their_ticks_at_600_dpi) {
  TEKG ekg;
  clear_recording(ekg);
  copy_generated_image(generate_recording(GeneratorOptions{}), ekg);
  DecoderState decoder;
  decode_recording(ekg, decoder);
  const int pw = 7016, ph = 4961;  // A4 landscape at 600 dpi
  QImage page(pw, ph, QImage::Format_RGB32);
  page.setDotsPerMeterX(23622);
  page.setDotsPerMeterY(23622);
  page.fill(Qt::white);
  QPainter painter(&page);
  QFont font = painter.font();
  font.setPointSize(6);
  painter.setFont(font);
  const ZoomPlacement pl = printer_zoom_placement(painter, pw, ph);
  const int th = painter.fontMetrics().height();
  PageReader reader;
  draw_zoom(painter, ekg, reader, pl, ZoomOptions{1, 100, 0, 0});
  painter.end();
  auto ink = [&](int x, int y) { return page.pixelColor(x, y) != QColor(Qt::white); };
  int labelled = 0;
  for (int x = pl.frame_left + 1; x < pl.frame_right; ++x) {
    if (!ink(x, pl.tick_top + 1) || ink(x - 1, pl.tick_top + 1)) continue;  // the left column of a tick
    int left = pw, right = -1;
    for (int y = pl.time_label_top; y < pl.time_label_top + th; ++y)
      for (int lx = std::max(0, x - 600); lx < std::min(pw, x + 600); ++lx)
        if (ink(lx, y)) left = std::min(left, lx), right = std::max(right, lx);
    if (right < 0) continue;  // odd seconds carry no label
    ++labelled;
    EXPECT_NEAR((left + right) / 2, x, 6) << "tick at " << x;
  }
  EXPECT_GE(labelled, 1);
}

}  // namespace
}  // namespace pulvitra
