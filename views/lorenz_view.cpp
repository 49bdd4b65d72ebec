#include "views/lorenz_view.h"

#include <algorithm>

#include "shell/language.h"
#include "views/canvas.h"
#include "views/print_layout.h"
#include "analysis/statistics.h"

namespace pulvitra {

namespace {

constexpr int kUnits = 12;  // 12 steps of 100 ms, 300..1500 ms on each axis

int beat_count(const TEKG& ekg) { return std::min<int>(ekg.BeatCount, kMaxBeats); }

int period_x(const LorenzPlacement& p, double period) {
  return p.L + static_cast<int>(round_even((period - 300.0) * p.V / 100.0));
}

int period_y(const LorenzPlacement& p, double period) {
  return p.T + kUnits * p.U - static_cast<int>(round_even((period - 300.0) * p.U / 100.0));
}

// `scale` gives the fixed offsets and the width of ticks (one window pixel).
void scales(Canvas& canvas, const LorenzPlacement& p, const ScreenScale& scale) {
  const int line = scale.line_width();
  const int th = canvas.text_height();
  const int right = p.L + kUnits * p.V;
  const int bottom = p.T + kUnits * p.U;
  // The vertical scale's labels end one digit before the frame, and on paper, where the ticks
  // are longer than a digit, a quarter digit before the tick. The horizontal labels begin below
  // the line of the lowest vertical label, so the two 300s in the corner stay apart.
  const int label_right = std::min(p.L - canvas.text_width("0"), p.L - p.U / 5 - canvas.text_width("0") / 4);
  const int label_top = std::max(bottom + scale.px(7), bottom - th / 2 + th);
  QString unit;
  for (int i = 3; i <= 15; ++i) {
    const int y = bottom - (i - 3) * p.U;
    const int x = p.L + (i - 3) * p.V;
    const bool grid = i >= 4 && i <= 14;
    canvas.set_pen_solid();
    wide_line(canvas, {p.L - p.U / 5, y}, {p.L, y}, line);
    if (grid) {
      canvas.set_pen_dotted_grey();
      canvas.line_to(right, y);
    }
    canvas.set_pen_solid();
    wide_line(canvas, {x, bottom + scale.px(5)}, {x, bottom}, line);
    if (grid) {
      canvas.set_pen_dotted_grey();
      canvas.line_to(x, p.T);
    }
    canvas.set_pen_solid();
    if (i == 15) {
      unit = " ms";
      canvas.text_out(std::min(p.L - canvas.text_width("ms0"), label_right - canvas.text_width("ms")), p.T + th / 2, "ms");
    }
    const QString number = QString::number(i);
    const QString label = number + "00";
    canvas.text_out(std::min(p.L - canvas.text_width(number + "000"), label_right - canvas.text_width(label)),
                    y - th / 2, label);
    // Paper is narrower per unit, so it carries every second label only.
    if (!canvas.printer() || i % 2 == 1) {
      canvas.text_out(x - canvas.text_width(label) / 2, label_top, label + unit);
    }
  }
}

// The diagonal, `line` device pixels wide, and on the screen as many shadow lines beside it.
void diagonal(Canvas& canvas, const LorenzPlacement& p, int line) {
  const int right = p.L + kUnits * p.V;
  const int bottom = p.T + kUnits * p.U;
  // On paper the diagonal stays in the shadow grey; only frames and crosses turn black.
  canvas.set_pen_colour(canvas.printer() ? screen_colours().dark : canvas.colours().light);
  for (int k = 0; k < line; ++k) {
    canvas.move_to(right - k, p.T);
    canvas.line_to(p.L - k, bottom);
  }
  if (!canvas.printer()) {
    // A shadow line beside the light one makes the diagonal look embossed.
    canvas.set_pen_colour(canvas.colours().dark);
    for (int m = line; m < 2 * line; ++m) {
      canvas.move_to(right - 2 * m, p.T + m);
      canvas.line_to(p.L - m, bottom);
    }
  }
}

void crosses(Canvas& canvas, const LorenzPlacement& p, const TEKG& ekg) {
  const int d = p.d;
  canvas.set_pen_colour(canvas.colours().dark);
  canvas.set_pen_width((d + 1) / 2);
  const int pairs = beat_count(ekg) / 2;
  for (int j = 1; j <= pairs; ++j) {
    // Periods beyond 300..1500 ms pile up against the frame instead of leaving it.
    const int x = std::clamp(period_x(p, 60000.0f / ekg.BeatRate[2 * j - 1]), p.L + d + 2,
                             p.L + kUnits * p.V - (d + 1));
    const int y = std::clamp(period_y(p, 60000.0f / ekg.BeatRate[2 * j]), p.T + d + 2,
                             p.T + kUnits * p.U - (d + 1));
    canvas.move_to(x - d, y - d);
    canvas.line_to(x + d, y + d);
    canvas.move_to(x + d, y - d);
    canvas.line_to(x - d, y + d);
  }
  canvas.set_pen_width(1);
}

}  // namespace

LorenzPlacement screen_lorenz_placement(const ScreenScale& scale) {
  const LorenzPlacement first;
  const auto [grown_width, grown_height] = scale.growth(kLorenzImageSize);
  const int grown = std::min(grown_width, grown_height);
  LorenzPlacement p;
  p.L = scale.px(first.L);
  p.T = scale.px(first.T);
  p.U = scale.px(kUnits * first.U + grown) / kUnits;
  p.V = p.U;
  p.d = p.U / 9;
  return p;
}

LorenzPlacement lorenz_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return screen_lorenz_placement(chart_scale(painter, target));
  const PrintUnits units = print_units(target.page.width, target.page.height);
  LorenzPlacement p;
  p.L = units.print_left + painter.fontMetrics().horizontalAdvance("XXX");
  p.T = painter.fontMetrics().height() + units.print_gap + units.print_top;
  p.U = target.page.width / 16;
  p.V = target.page.width / 16;
  p.d = p.V / 9;
  return p;
}

void draw_lorenz(QPainter& painter, const TEKG& ekg, const ViewTarget& target) {
  if (ekg.BeatCount == 0) return;
  const LorenzPlacement p = lorenz_placement(painter, target);
  const ChartFrame frame{table_text(target.language, "txt_title_lorenz"), p.T - (3 * title_hang_height(painter, target.printer)) / 2, 1};
  const ScreenScale scale = chart_scale(painter, target);
  draw_chart(painter, target, frame, [&](Canvas& canvas) {
    plot_frame(canvas, p.L, p.T, p.L + kUnits * p.V, p.T + kUnits * p.U, scale.line_width());
    scales(canvas, p, scale);
    diagonal(canvas, p, scale.line_width());
    crosses(canvas, p, ekg);
  });
}

}  // namespace pulvitra
