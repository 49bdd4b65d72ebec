#include "views/histogram_view.h"

#include <algorithm>
#include <cmath>

#include "shell/language.h"
#include "views/chart_paint.h"
#include "views/statistics.h"

namespace pulvitra {

using namespace chart;

namespace {

constexpr int kLastBarBin = 89;  // bin 90 (179..180 per minute) is counted but has no bar
constexpr int kAxisEndBin = 90;

BeatStatistics statistics_of(const TEKG& ekg, const ViewSettings& settings) {
  const int count = std::min<int>(ekg.BeatCount, kMaxBeats);
  return beat_statistics(std::span<const float>(ekg.BeatRate).subspan(1, count), settings.limit1,
                         settings.limit2);
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

// One column of the screen panel: label, rate above period, units behind the right edge.
// The period is placed as if it had the rate's ".0", so its digits line up with the rate's.
void panel_column(QPainter& painter, const QString& label, int label_x, int value_right,
                  const std::string& rate, const std::string& period) {
  constexpr int kRateRow = 241;
  constexpr int kPeriodRow = 256;
  text_out(painter, label_x, kRateRow, label);
  text_out(painter, value_right - text_width(painter, qs(rate)), kRateRow, qs(rate));
  text_out(painter, value_right - text_width(painter, qs(period) + ".0"), kPeriodRow, qs(period));
  text_out(painter, value_right, kRateRow, " /min");
  text_out(painter, value_right, kPeriodRow, " ms");
}

void screen_panel(QPainter& painter, const HistogramPlacement& p, const BeatStatistics& stats,
                  const Colours& colours) {
  const int L = p.L;
  const int W = p.W;
  set_font(painter, 10, true);
  bevel(painter, L, 231, painter.device()->width() - L, 281, colours);
  painter.setPen(kBlack);

  const QString mean_label = table_text("txt_stat_mean_short");
  const int mean_x = W * 4 / 40 + L;
  const int e1 = text_width(painter, mean_label) + W * 7 / 40 + L;
  panel_column(painter, mean_label, mean_x, e1, stats.mean_rate_text, stats.mean_period_text);

  const int sd_x = W * 18 / 40 + L;
  const int e2 = text_width(painter, "SD:") + W * 21 / 40 + L;
  panel_column(painter, "SD:", sd_x, e2, stats.sd_rate_text, stats.sd_period_text);

  // "V" with a lowered "k" between it and the colon: the variation coefficient.
  const int v_x = W * 30 / 40 + L;
  text_out(painter, v_x, 248, "V  : " + qs(stats.vc_text) + "%");
  text_out(painter, text_width(painter, "V") + v_x, 254, "k");
  set_font(painter, 8, false);
}

QString limit_period_text(int position) {
  QString text = QString::number(round_even(60000.0 / (2.0 * position)));
  return text.rightJustified(3, ' ');
}

void print_statistics_block(QPainter& painter, const ViewTarget& target, const BeatStatistics& stats) {
  const PrintUnits units = print_units(target.page.width, target.page.height);
  const int PW = target.page.width;
  const int line = 3 * text_height(painter, "X") / 2;
  const int y0 = (18 * target.page.height) / 30 + units.print_gap + units.print_top + line;

  set_font(painter, 10, true);
  painter.setPen(kBlack);
  text_out(painter, units.print_left - text_width(painter, "XXX"), y0 - line, "Statistik");
  set_font(painter, 10, false);

  const int column_a = (3 * PW) / 10 + units.print_left;
  const int column_b = (4 * PW) / 10 + units.print_left;
  auto row = [&](int n, const QString& label, const QString& a, const QString& b) {
    const int y = y0 + n * line;
    text_out(painter, units.print_left, y, label);
    if (!a.isEmpty()) text_out(painter, column_a - text_width(painter, a), y, a);
    if (!b.isEmpty()) text_out(painter, column_b - text_width(painter, b), y, b);
  };
  row(1, table_text("txt_stat_mean"), qs(stats.mean_rate_text) + "/min", qs(stats.mean_period_text) + " ms");
  row(2, table_text("txt_stat_sd"), qs(stats.sd_rate_text) + "/min", qs(stats.sd_period_text) + " ms");
  row(3, table_text("txt_stat_cv"), qs(stats.vc_text) + " %", QString());
  row(4, table_text("txt_stat_limits"), QString(), QString());
  row(5, table_text("txt_stat_lower"), QString::number(2 * stats.StatLower) + "/min",
      limit_period_text(stats.StatLower) + " ms");
  row(6, table_text("txt_stat_upper"), QString::number(2 * stats.StatUpper) + "/min",
      limit_period_text(stats.StatUpper) + " ms");
  set_font(painter, 7, false);
}

QColor bar_colour(bool printer, bool within) {
  if (printer) return within ? kGrid : kWhite;
  return within ? kRed : kBlue;
}

void draw_bars_and_axis(QPainter& painter, const HistogramPlacement& p, const BeatStatistics& stats,
                        const ViewTarget& target, const Colours& colours) {
  const int L = p.L, T = p.T, H = p.H;
  const int bw = p.W / 77;
  const int axis = T + H;
  const int tick = H / 54;
  const int max_count = *std::max_element(stats.HistCount.begin() + kFirstBin, stats.HistCount.end());
  const QColor label_background = target.printer ? kWhite : colours.face;
  const int label_y = axis + text_height(painter, "X");
  Pen pen(painter);

  for (int k = kFirstBin; k <= kAxisEndBin; ++k) {
    const int xk = L + bw + (k - kFirstBin) * bw;
    if (stats.HistCount[k] > 0 && k <= kLastBarBin) {
      const int hk = static_cast<int>(
          round_even(static_cast<double>(stats.HistCount[k]) / max_count * (H - 5)));
      const bool within = stats.StatLower <= k && k < stats.StatUpper;
      fill_rect(painter, xk + 1, axis - hk, L + bw - 2 + (k - 14) * bw, axis - 1,
                bar_colour(target.printer, within));
      bevel(painter, xk, axis - 1 - hk, L + bw - 1 + (k - 14) * bw, axis - 1, colours);
    }
    pen.solid();
    pen.move_to(xk, axis);
    pen.line_to(xk, axis + 1 + tick);
    if (k % 5 == 0) {
      pen.line_to(xk + bw, axis + 2 * (tick + 1));
      text_out(painter, xk, label_y, QString::number(2 * k), label_background);
    }
  }
}

}  // namespace

HistogramPlacement histogram_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return HistogramPlacement{};
  const int PW = target.page.width;
  const int PH = target.page.height;
  const PrintUnits units = print_units(PW, PH);
  const int th = text_height(painter, "X");
  HistogramPlacement p;
  p.L = units.print_left;
  p.T = (9 * PH) / 30 + units.print_gap + units.print_top + th;
  p.W = PW - 2 * units.print_left;
  p.H = static_cast<int>(round_even(PH * 8.5 / 30)) - 3 * th;
  return p;
}

void draw_histogram(QPainter& painter, const TEKG& ekg, const ViewSettings& settings,
                    const ViewTarget& target, bool statistics_only) {
  if (ekg.BeatCount == 0) return;
  const Colours colours = colours_for(target);
  const HistogramPlacement p = histogram_placement(painter, target);
  painter.save();
  painter.setBrush(Qt::NoBrush);

  if (!target.printer) {
    use_screen_font(painter);
    screen_background(painter, colours, 2);
  } else if (!statistics_only) {
    print_title(painter, table_text("txt_title_histogram"), target.page, p.T - screen_font_height());
  }
  if (!statistics_only) bevel(painter, p.L, p.T, p.L + p.W, p.T + p.H, colours);

  const BeatStatistics stats = statistics_of(ekg, settings);
  if (stats.present) {
    if (target.printer) {
      print_statistics_block(painter, target, stats);
    } else {
      screen_panel(painter, p, stats, colours);
    }
  }
  if (!statistics_only) draw_bars_and_axis(painter, p, stats, target, colours);
  QFont font_left = painter.font();
  painter.restore();
  // The next printed view measures its placement in the font this one leaves behind.
  if (target.printer) painter.setFont(font_left);
}

}  // namespace pulvitra
