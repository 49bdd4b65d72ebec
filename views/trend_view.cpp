#include "views/trend_view.h"

#include <algorithm>

#include "shell/language.h"
#include "views/chart_paint.h"
#include "views/statistics.h"

namespace pulvitra {

using namespace chart;

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

void rate_scale(QPainter& painter, const TrendPlacement& p) {
  Pen pen(painter);
  const int th = text_height(painter, "X");
  for (int i = 4; i <= 16; ++i) {
    const int y = p.T + (i - 4) * p.U;
    pen.solid();
    pen.move_to(p.L - p.U / 4, y);
    pen.line_to(p.L, y);
    if (i >= 5 && i <= 15) {
      pen.dotted_grey();
      pen.line_to(p.L + p.W, y);
    }
    pen.solid();
    const QString label = QString::number(20 - i) + "0";
    text_out(painter, p.L - text_width(painter, label + "X"), y - th / 2, label);
  }
  const int bottom = p.T + 12 * p.U;
  text_out(painter, p.L - text_width(painter, "/min0"), bottom + th / 2, "/min");
  text_out(painter, p.L + p.W - text_width(painter, "s"), bottom + th, "s");
}

void vertical_mark(QPainter& painter, const TrendPlacement& p, int offset, const QColor& colour) {
  Pen pen(painter);
  pen.colour(colour);
  pen.move_to(p.L + offset, p.T + 1);
  pen.line_to(p.L + offset, p.T + 12 * p.U + 1);
  pen.solid();
}

// Begin/end and event marks, and the seconds scale that restarts at 0 at every begin/end mark.
void marks_and_time_scale(QPainter& painter, const TrendPlacement& p, const TEKG& ekg, float total) {
  Pen pen(painter);
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
      if (flags & kFlagStartRecord) vertical_mark(painter, p, x0 + ++j, kGreen);
      if (flags & kFlagCode254) vertical_mark(painter, p, x0 + ++j, kRed);
    }
    if (flags & kFlagStartRecord) n = 0;
    if (cum > tick_time + kTickSpacingMs || n == 0) {
      tick_time = cum;
      const int x = time_x(p, cum, total) - 2;
      pen.solid();
      pen.move_to(x, bottom + p.U / 5);
      pen.line_to(x, bottom);
      if (k > 1) {
        pen.dotted_grey();
        pen.line_to(x, p.T);
      }
      pen.solid();
      const QString label = QString::number(n * 30);
      text_out(painter, x - text_width(painter, label) / 2, bottom + p.U / 2, label);
      ++n;
    }
  }
}

void rate_curve(QPainter& painter, const TrendPlacement& p, const TEKG& ekg, float total) {
  Pen pen(painter);
  pen.solid();
  pen.move_to(p.L + 1, rate_y(p, ekg.BeatRate[1]));
  float cum = 0.0f;
  for (int k = 1; k <= beat_count(ekg); ++k) {
    cum = cum + beat_period(ekg.BeatRate[k]);
    pen.line_to(time_x(p, cum, total), rate_y(p, ekg.BeatRate[k]));
  }
}

}  // namespace

TrendPlacement trend_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return TrendPlacement{};
  const int PW = target.page.width;
  const int PH = target.page.height;
  const PrintUnits units = print_units(PW, PH);
  const int th = text_height(painter, "X");
  const int txxx = text_width(painter, "XXX");
  TrendPlacement p;
  p.L = units.print_left + txxx;
  p.T = th + units.print_gap + units.print_top;
  p.W = PW - 2 * units.print_left - txxx;
  p.U = (static_cast<int>(round_even(PH * 153.0 / 450.0)) - 3 * th) / 14;
  return p;
}

void draw_trend(QPainter& painter, const TEKG& ekg, const ViewTarget& target) {
  if (ekg.BeatCount == 0) return;
  const Colours colours = colours_for(target);
  const TrendPlacement p = trend_placement(painter, target);
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (target.printer) {
    print_title(painter, table_text("txt_title_trend"), target.page, p.T - (3 * screen_font_height()) / 2);
  } else {
    use_screen_font(painter);
    screen_background(painter, colours, 1);
  }
  rate_scale(painter, p);
  bevel(painter, p.L, p.T, p.L + p.W, p.T + 12 * p.U + 1, colours);
  painter.setPen(kBlack);

  if (beat_count(ekg) > 1) {
    float total = 0.0f;
    for (int k = 1; k <= beat_count(ekg); ++k) total = total + beat_period(ekg.BeatRate[k]);
    if (total > 0.0f) {
      marks_and_time_scale(painter, p, ekg, total);
      rate_curve(painter, p, ekg, total);
    }
  }
  QFont font_left = painter.font();
  painter.restore();
  // The next printed view measures its placement in the font this one leaves behind.
  if (target.printer) painter.setFont(font_left);
}

}  // namespace pulvitra
