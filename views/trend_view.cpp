#include "views/trend_view.h"

#include <algorithm>

#include "shell/language.h"
#include "views/canvas.h"
#include "views/print_layout.h"
#include "analysis/statistics.h"

namespace pulvitra {

namespace {

constexpr float kTickSpacingMs = 30000.0f;  // time ticks every 30 s after a restart

int beat_count(const TEKG& ekg) { return std::min<int>(ekg.BeatCount, kMaxBeats); }

// Vertical position of a rate: 160 per minute at T + 1, 40 at T + 12 U + 1.
int rate_y(const TrendPlacement& p, float rate) {
  return p.T + 1 + 16 * p.U - static_cast<int>(round_even(p.U * static_cast<double>(rate) / 10.0));
}

// Offset from L of the moment cum within the whole recording.
int time_offset(const TrendPlacement& p, float cum, float total) {
  return static_cast<int>(round_even(p.W * static_cast<double>(cum) / total));
}

int time_x(const TrendPlacement& p, float cum, float total) {
  return static_cast<int>(round_even(p.W * static_cast<double>(cum) / total + p.L));
}

// `line` is how wide ticks, marks and frames are drawn: one window pixel.
void rate_scale(Canvas& canvas, const TrendPlacement& p, int line) {
  const int th = canvas.text_height();
  for (int i = 4; i <= 16; ++i) {
    const int y = p.T + (i - 4) * p.U;
    canvas.set_pen_solid();
    wide_line(canvas, {p.L - p.U / 4, y}, {p.L, y}, line);
    if (i >= 5 && i <= 15) {
      canvas.set_pen_dotted_grey();
      canvas.line_to(p.L + p.W, y);
    }
    canvas.set_pen_solid();
    const QString label = QString::number(20 - i) + "0";
    canvas.text_out(p.L - canvas.text_width(label + "X"), y - th / 2, label);
  }
  const int bottom = p.T + 12 * p.U;
  canvas.text_out(p.L - canvas.text_width("/min0"), bottom + th / 2, "/min");
  canvas.text_out(p.L + p.W - canvas.text_width("s"), bottom + th, "s");
}

void vertical_mark(Canvas& canvas, const TrendPlacement& p, int offset, const QColor& colour, int line) {
  canvas.set_pen_colour(colour);
  wide_line(canvas, {p.L + offset, p.T + 1}, {p.L + offset, p.T + 12 * p.U + 1}, line);
  canvas.set_pen_solid();
}

// Begin/end and event marks, and the seconds scale that restarts at 0 at every begin/end mark.
void marks_and_time_scale(Canvas& canvas, const TrendPlacement& p, const ScreenScale& scale, const TEKG& ekg,
                          float total) {
  const int line = scale.line_width();
  const int bottom = p.T + 12 * p.U;
  float cum = 0.0f;
  float tick_time = 0.0f;
  int n = 0;
  for (int k = 1; k <= beat_count(ekg); ++k) {
    cum = cum + beat_period(ekg.BeatRate[k]);
    const std::uint8_t flags = ekg.BeatFlags[k];
    if (flags != 0) {
      const int x0 = time_offset(p, cum, total);
      int j = -1;
      if (flags & kFlagStartRecord) vertical_mark(canvas, p, x0 + ++j * line, kGreen, line);
      if (flags & kFlagCode254) vertical_mark(canvas, p, x0 + ++j * line, kRed, line);
    }
    if (flags & kFlagStartRecord) n = 0;
    if (cum > tick_time + kTickSpacingMs || n == 0) {
      tick_time = cum;
      const int x = time_x(p, cum, total) - scale.px(2);
      canvas.set_pen_solid();
      wide_line(canvas, {x, bottom + p.U / 5}, {x, bottom}, line);
      if (k > 1) {
        canvas.set_pen_dotted_grey();
        canvas.line_to(x, p.T);
      }
      canvas.set_pen_solid();
      const QString label = QString::number(n * 30);
      canvas.text_out(x - canvas.text_width(label) / 2, bottom + p.U / 2, label);
      ++n;
    }
  }
}

void rate_curve(Canvas& canvas, const TrendPlacement& p, const TEKG& ekg, float total) {
  canvas.set_pen_solid();
  canvas.move_to(p.L + 1, rate_y(p, ekg.BeatRate[1]));
  float cum = 0.0f;
  for (int k = 1; k <= beat_count(ekg); ++k) {
    cum = cum + beat_period(ekg.BeatRate[k]);
    canvas.line_to(time_x(p, cum, total), rate_y(p, ekg.BeatRate[k]));
  }
}

}  // namespace

TrendPlacement screen_trend_placement(const ScreenScale& scale) {
  const TrendPlacement first;
  const auto [grown_width, grown_height] = scale.growth(kTrendImageSize);
  TrendPlacement p;
  p.L = scale.px(first.L);
  p.T = scale.px(first.T);
  p.W = scale.px(first.W + grown_width);
  // The plot's 12 units take 24 of every 25 pixels the image grows in height; the rest widens
  // the room for the seconds labels, which hang U div 2 below the plot.
  p.U = scale.px(12 * first.U + grown_height * 24 / 25) / 12;
  return p;
}

TrendPlacement trend_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return screen_trend_placement(chart_scale(painter, target));
  const int PW = target.page.width;
  const int PH = target.page.height;
  const PrintUnits units = print_units(PW, PH);
  const int th = painter.fontMetrics().height();
  const int txxx = painter.fontMetrics().horizontalAdvance("XXX");
  TrendPlacement p;
  p.L = units.print_left + txxx;
  p.T = th + units.print_gap + units.print_top;
  p.W = PW - 2 * units.print_left - txxx;
  p.U = (static_cast<int>(round_even(PH * 153.0 / 450.0)) - 3 * th) / 14;
  return p;
}

int printed_trend_bottom(QPainter& painter, const ViewTarget& target) {
  painter.save();
  set_point_size(painter, kPrintStartPoints);
  const TrendPlacement p = trend_placement(painter, target);
  set_point_size(painter, kPrintChartPoints);
  const int label_height = painter.fontMetrics().height();
  painter.restore();
  return p.T + 12 * p.U + p.U / 2 + label_height;
}

void draw_trend(QPainter& painter, const TEKG& ekg, const ViewTarget& target) {
  if (ekg.BeatCount == 0) return;
  const TrendPlacement p = trend_placement(painter, target);
  const ChartFrame frame{table_text(target.language, "txt_title_trend"), p.T - (3 * title_hang_height(painter, target.printer)) / 2, 1};
  const ScreenScale scale = chart_scale(painter, target);
  draw_chart(painter, target, frame, [&](Canvas& canvas) {
    rate_scale(canvas, p, scale.line_width());
    plot_frame(canvas, p.L, p.T, p.L + p.W, p.T + 12 * p.U + 1, scale.line_width());
    canvas.set_pen_colour(kBlack);
    if (beat_count(ekg) <= 1) return;  // axes only
    float total = 0.0f;
    for (int k = 1; k <= beat_count(ekg); ++k) total = total + beat_period(ekg.BeatRate[k]);
    if (total <= 0.0f) return;
    marks_and_time_scale(canvas, p, scale, ekg, total);
    rate_curve(canvas, p, ekg, total);
  });
}

}  // namespace pulvitra
