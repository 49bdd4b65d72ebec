#include "views/overview_view.h"

#include "views/canvas.h"
#include "views/print_layout.h"

namespace pulvitra {

namespace {

constexpr int kSamplesPerColumn = 180;

struct StripGeometry {
  int top;   // (s - 1) * H div R + T
  int base;  // s * H div R + T - 6
};

StripGeometry strip_geometry(const OverviewPlacement& p, int s) {
  return {(s - 1) * p.height / p.strips + p.top, s * p.height / p.strips + p.top - 6};
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
  const int pitch = pl.height / pl.strips;
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
    canvas.device_marks(reader.marks, x, g.top + 1, g.base);
    canvas.line_to(x, g.base - ((pitch - 6) * avg) / 256);
  }
}

void draw_strip(Canvas& canvas, const TEKG& ekg, PageReader& reader, const OverviewPlacement& pl, int strip,
                int position) {
  const int first_page = (strip - 1 + position) * pl.pages_per_strip + 1;
  reader.start_page(first_page);
  const int v = NextPageSample(ekg, reader);
  canvas.move_to(pl.left + 1, strip * pl.height / pl.strips + pl.top + 4 - (v * pl.height / pl.strips) / 250);
  for (int column = 1; column <= pl.pages_per_strip + 1; ++column)
    draw_column(canvas, ekg, reader, pl, strip, column, first_page + column - 1);
}

}  // namespace

OverviewPlacement screen_overview_placement(const ScreenScale&) { return {}; }

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
  if (!pl.printer) {
    const int right = 2 * pl.left + pl.width;
    const int bottom = pl.height + pl.top;
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
