#include "views/overview_view.h"

#include <algorithm>

#include "views/canvas.h"
#include "views/print_layout.h"
#include "views/view_state.h"

namespace pulvitra {

namespace {

constexpr int kSamplesPerColumn = 180;
constexpr int kMostAveraged = 3;  // on the screen of the first size: a point per pixel column

// The fixed pixel counts within a strip, as device pixels.
ScreenScale offsets(const OverviewPlacement& p) { return {{0, 0}, {0, 0}, p.ratio}; }

struct StripGeometry {
  int top;   // (s - 1) * H div R + T
  int base;  // s * H div R + T - 6
};

StripGeometry strip_geometry(const OverviewPlacement& p, int s) {
  return {(s - 1) * p.height / p.strips + p.top, s * p.height / p.strips + p.top - offsets(p).px(6)};
}

// Samples averaged into a point on the screen: as few as keep the points at least a device
// pixel apart (a strip's nine columns of 180 samples over its width), at most 3. Each sample
// less in a point keeps more of a beat's peak; more points than pixel columns would only pile
// up in the same columns.
int screen_average(const OverviewPlacement& p) {
  const int samples = (p.pages_per_strip + 1) * kSamplesPerColumn;
  const int width = std::max(p.width, 1);
  return std::clamp((samples + width - 1) / width, 1, kMostAveraged);
}

// x(c, p): the plotted point after c samples of column p.
int point_x(const OverviewPlacement& pl, int c, int column) {
  const int columns = pl.pages_per_strip + 1;
  return ((c / pl.average) * pl.width) / (columns * kSamplesPerColumn / pl.average) +
         ((column - 1) * pl.width) / columns + pl.left;
}

// One page column: points of d averaged samples until the page ends; an incomplete last
// group is dropped. The pen carries over from the previous column.
void draw_column(Canvas& canvas, const TEKG& ekg, PageReader& reader, const OverviewPlacement& pl, int strip,
                 int column, int page) {
  const StripGeometry g = strip_geometry(pl, strip);
  const int amplitude = pl.height / pl.strips - offsets(pl).px(6);
  const bool edge = column == 1 || column == pl.pages_per_strip + 1;
  reader.start_page(page);
  // The first and last page of a strip are blue: the last repeats the next strip's first.
  canvas.set_pen_colour(edge ? kBlue : kBlack);
  int c = 0;
  while (!reader.PageEnd) {
    int sum = 0;
    for (int k = 0; k < pl.average; ++k) {
      const int v = NextPageSample(ekg, reader);
      if (reader.PageEnd) break;
      ++c;
      sum += v;
    }
    if (reader.PageEnd) break;
    const int avg = sum / pl.average;
    const int x = point_x(pl, c, column);
    // The recorder's marks read since the last point: thin vertical lines across the strip.
    canvas.device_marks(reader.marks, x, g.top + offsets(pl).line_width(), g.base);
    canvas.line_to(x, g.base - (amplitude * avg) / 256);
  }
}

void draw_strip(Canvas& canvas, const TEKG& ekg, PageReader& reader, const OverviewPlacement& pl, int strip,
                int position) {
  const int first_page = (strip - 1 + position) * pl.pages_per_strip + 1;
  reader.start_page(first_page);
  const int v = NextPageSample(ekg, reader);
  canvas.move_to(pl.left + offsets(pl).line_width(),
                 strip * pl.height / pl.strips + pl.top + offsets(pl).px(4) - (v * pl.height / pl.strips) / 250);
  for (int column = 1; column <= pl.pages_per_strip + 1; ++column)
    draw_column(canvas, ekg, reader, pl, strip, column, first_page + column - 1);
}

}  // namespace

OverviewPlacement screen_overview_placement(const ScreenScale& scale) {
  OverviewPlacement p;
  p.left = scale.px(kOverviewMargin);
  p.top = p.left;
  // The strips reach the image's right edge (their frame's right edge lies just beyond it)
  // and its bottom less the sunken border's row.
  p.width = scale.device.width - p.left;
  p.height = scale.device.height - p.top - scale.line_width();
  p.strips = overview_rows(scale.logical.height);
  p.average = screen_average(p);
  p.ratio = scale.ratio;
  return p;
}

OverviewPlacement printer_overview_placement(int pw, int ph) {
  const PrintUnits units = print_units(pw, ph);
  OverviewPlacement p;
  p.left = units.print_left;
  p.top = units.print_top + units.print_gap;
  p.width = pw - 2 * units.print_left;
  p.height = ph - 2 * units.print_gap - units.print_top - units.print_row;
  p.strips = 17;
  p.pages_per_strip = 10;
  p.average = 1;
  p.printer = true;
  return p;
}

void draw_overview(QPainter& painter, const TEKG& ekg, PageReader& reader, const OverviewPlacement& pl,
                   int position) {
  if (pl.strips < 1 || pl.pages_per_strip < 1 || pl.average < 1 || pl.width < 1) return;
  Canvas canvas(painter, pl.printer);
  const int frame_width = offsets(pl).line_width();
  canvas.set_frame_width(frame_width);
  if (!pl.printer) {
    // The sunken border's far edges lie frame_width - 1 device pixels further out, so that
    // the wider frame grows inwards from the image's last pixels.
    const int right = 2 * pl.left + pl.width + frame_width - 1;
    const int bottom = pl.height + pl.top + frame_width - 1;
    canvas.fill_rect(0, 0, right, bottom, canvas.colours().face);
    canvas.bevel(right - 1, bottom, 0, 0);
  }
  for (int s = 1; s <= pl.strips; ++s) {
    const StripGeometry g = strip_geometry(pl, s);
    canvas.bevel(pl.left, g.top, pl.left + pl.width, g.base);
  }
  for (int s = 1; s <= pl.strips; ++s) draw_strip(canvas, ekg, reader, pl, s, position);
}

}  // namespace pulvitra
