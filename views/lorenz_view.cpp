#include "views/lorenz_view.h"

#include <algorithm>

#include "shell/language.h"
#include "views/chart_paint.h"
#include "views/statistics.h"

namespace pulvitra {

using namespace chart;

namespace {

constexpr int kUnits = 12;  // 12 steps of 100 ms, 300..1500 ms on each axis

int beat_count(const TEKG& ekg) { return std::min<int>(ekg.BeatCount, kMaxBeats); }

int period_x(const LorenzPlacement& p, double period) {
  return p.L + static_cast<int>(round_even((period - 300.0) * p.V / 100.0));
}

int period_y(const LorenzPlacement& p, double period) {
  return p.T + kUnits * p.U - static_cast<int>(round_even((period - 300.0) * p.U / 100.0));
}

void scales(QPainter& painter, const LorenzPlacement& p, bool printer) {
  Pen pen(painter);
  const int th = text_height(painter, "X");
  const int right = p.L + kUnits * p.V;
  const int bottom = p.T + kUnits * p.U;
  QString unit;
  for (int i = 3; i <= 15; ++i) {
    const int y = bottom - (i - 3) * p.U;
    const int x = p.L + (i - 3) * p.V;
    const bool grid = i >= 4 && i <= 14;
    pen.solid();
    pen.move_to(p.L - p.U / 5, y);
    pen.line_to(p.L, y);
    if (grid) {
      pen.dotted_grey();
      pen.line_to(right, y);
    }
    pen.solid();
    pen.move_to(x, bottom + 5);
    pen.line_to(x, bottom);
    if (grid) {
      pen.dotted_grey();
      pen.line_to(x, p.T);
    }
    pen.solid();
    if (i == 15) {
      unit = " ms";
      text_out(painter, p.L - text_width(painter, "ms0"), p.T + th / 2, "ms");
    }
    const QString number = QString::number(i);
    text_out(painter, p.L - text_width(painter, number + "000"), y - th / 2, number + "00");
    // Paper is narrower per unit, so it carries every second label only.
    if (!printer || i % 2 == 1) {
      text_out(painter, x - text_width(painter, number + "00") / 2, bottom + 7, number + "00" + unit);
    }
  }
}

void diagonal(QPainter& painter, const LorenzPlacement& p, const Colours& colours, bool printer) {
  Pen pen(painter);
  const int right = p.L + kUnits * p.V;
  const int bottom = p.T + kUnits * p.U;
  pen.colour(printer ? colours.shadow : colours.light);
  pen.move_to(right, p.T);
  pen.line_to(p.L, bottom);
  if (!printer) {
    // A shadow line beside the light one makes the diagonal look embossed.
    pen.colour(colours.shadow);
    pen.move_to(right - 2, p.T + 1);
    pen.line_to(p.L - 1, bottom);
  }
}

void crosses(QPainter& painter, const LorenzPlacement& p, const TEKG& ekg, const Colours& colours) {
  Pen pen(painter);
  const int d = p.d;
  pen.colour(colours.shadow);
  pen.width((d + 1) / 2);
  const int pairs = beat_count(ekg) / 2;
  for (int j = 1; j <= pairs; ++j) {
    // Periods beyond 300..1500 ms pile up against the frame instead of leaving it.
    const int x = std::clamp(period_x(p, 60000.0f / ekg.BeatRate[2 * j - 1]), p.L + d + 2,
                             p.L + kUnits * p.V - (d + 1));
    const int y = std::clamp(period_y(p, 60000.0f / ekg.BeatRate[2 * j]), p.T + d + 2,
                             p.T + kUnits * p.U - (d + 1));
    pen.move_to(x - d, y - d);
    pen.line_to(x + d, y + d);
    pen.move_to(x + d, y - d);
    pen.line_to(x - d, y + d);
  }
  pen.width(1);
}

}  // namespace

LorenzPlacement lorenz_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return LorenzPlacement{};
  const PrintUnits units = print_units(target.page.width, target.page.height);
  LorenzPlacement p;
  p.L = units.print_left + text_width(painter, "XXX");
  p.T = text_height(painter, "X") + units.print_gap + units.print_top;
  p.U = target.page.width / 16;
  p.V = target.page.width / 16;
  p.d = p.V / 9;
  return p;
}

void draw_lorenz(QPainter& painter, const TEKG& ekg, const ViewTarget& target) {
  if (ekg.BeatCount == 0) return;
  const Colours colours = colours_for(target);
  const LorenzPlacement p = lorenz_placement(painter, target);
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (target.printer) {
    print_title(painter, table_text("txt_title_lorenz"), target.page, p.T - (3 * screen_font_height()) / 2);
  } else {
    use_screen_font(painter);
    screen_background(painter, colours, 1);
  }
  bevel(painter, p.L, p.T, p.L + kUnits * p.V, p.T + kUnits * p.U, colours);
  scales(painter, p, target.printer);
  diagonal(painter, p, colours, target.printer);
  crosses(painter, p, ekg, colours);
  QFont font_left = painter.font();
  painter.restore();
  // The next printed view measures its placement in the font this one leaves behind.
  if (target.printer) painter.setFont(font_left);
}

}  // namespace pulvitra
