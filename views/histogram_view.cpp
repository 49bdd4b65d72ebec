#include "views/histogram_view.h"

#include <algorithm>
#include <cmath>

#include "shell/language.h"
#include "views/evaluation_text.h"
#include "views/canvas.h"
#include "views/print_layout.h"
#include "views/trend_view.h"

namespace pulvitra {

namespace {

constexpr int kLastBarBin = 89;  // bin 90 (179..180 per minute) is counted but has no bar
constexpr int kAxisEndBin = 90;
constexpr int kBinSteps = 77;  // bins 14..90: the plot's width holds 77 bin widths

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The rows of the screen panel, in device pixels: 10 and 25 window pixels below its top for
// rates and periods, 17 and 23 for the variation coefficient's "V" and lowered "k", 50 for its
// bottom edge.
struct PanelRows {
  explicit PanelRows(const HistogramPlacement& p, const ScreenScale& scale)
      : top(p.panel_top), rate(top + scale.px(10)), period(top + scale.px(25)), vc(top + scale.px(17)),
        vc_index(top + scale.px(23)), bottom(top + scale.px(50)) {}
  int top, rate, period, vc, vc_index, bottom;
};

// One column of the screen panel: label, rate above period, units behind the right edge.
// The period is placed as if it had the rate's ".0", so its digits line up with the rate's.
void panel_column(Canvas& canvas, const PanelRows& rows, const QString& label, int label_x, int value_right,
                  const std::string& rate, const std::string& period) {
  canvas.text_out(label_x, rows.rate, label);
  canvas.text_out(value_right - canvas.text_width(qs(rate)), rows.rate, qs(rate));
  canvas.text_out(value_right - canvas.text_width(qs(period) + ".0"), rows.period, qs(period));
  canvas.text_out(value_right, rows.rate, " /min");
  canvas.text_out(value_right, rows.period, " ms");
}

void screen_panel(Canvas& canvas, const HistogramPlacement& p, const ScreenScale& scale, const StatisticsTexts& texts,
                  Language language) {
  const int L = p.L;
  const int W = p.W;
  const PanelRows rows(p, scale);
  canvas.set_font(10, true);
  plot_frame(canvas, L, rows.top, canvas.painter().device()->width() - L, rows.bottom, scale.line_width());
  canvas.set_pen_colour(kBlack);

  // Each column stands where the panel has always put it unless its texts would run into the
  // one before: a mean rate of 100 /min or more keeps a blank after the label ("Mittelwert:"),
  // and the longer English label pushes " /min" against "SD:", which then keeps two blanks
  // away. Rates between the limits stay within 40..180, so their spread stays below 100.
  const int blank = canvas.text_width(" ");
  const int widest_mean = canvas.text_width("000.0");
  const int widest_sd = canvas.text_width("00.0");
  const int unit_width = canvas.text_width(" /min");

  const QString mean_label = table_text(language, "txt_stat_mean_short");
  const int mean_x = W * 4 / 40 + L;
  const int e1 = std::max(canvas.text_width(mean_label) + W * 7 / 40 + L,
                          mean_x + canvas.text_width(mean_label) + blank + widest_mean);
  panel_column(canvas, rows, mean_label, mean_x, e1, texts.mean_rate, texts.mean_period);

  const int sd_shift = std::max(0, e1 + unit_width + 2 * blank - (W * 18 / 40 + L));
  const int sd_x = W * 18 / 40 + L + sd_shift;
  const int e2 = std::max(canvas.text_width("SD:") + W * 21 / 40 + L + sd_shift,
                          sd_x + canvas.text_width("SD:") + blank + widest_sd);
  panel_column(canvas, rows, "SD:", sd_x, e2, texts.sd_rate, texts.sd_period);

  // "V" with a lowered "k" between it and the colon: the variation coefficient.
  const int v_x = std::max(W * 30 / 40 + L, e2 + unit_width + 2 * blank);
  canvas.text_out(v_x, rows.vc, "V  : " + qs(texts.vc) + "%");
  canvas.text_out(canvas.text_width("V") + v_x, rows.vc_index, "k");
  canvas.set_font(8, false);
}

QString limit_period_text(int position) {
  QString text = QString::number(round_even(60000.0 / (2.0 * position)));
  return text.rightJustified(3, ' ');
}

void print_statistics_block(Canvas& canvas, const ViewTarget& target, const BeatStatistics& stats) {
  const StatisticsTexts texts = statistics_texts(stats);
  const PrintUnits units = print_units(target.page.width, target.page.height);
  const int PW = target.page.width;
  const int line = 3 * canvas.text_height() / 2;
  const int y0 = (18 * target.page.height) / 30 + units.print_gap + units.print_top + line;

  canvas.set_font(10, true);
  canvas.text_out(units.print_left - canvas.text_width("XXX"), y0 - line, "Statistik");
  canvas.set_font(10, false);

  const int column_a = (3 * PW) / 10 + units.print_left;
  const int column_b = (4 * PW) / 10 + units.print_left;
  auto row = [&](int n, const QString& label, const QString& a, const QString& b) {
    const int y = y0 + n * line;
    canvas.text_out(units.print_left, y, label);
    if (!a.isEmpty()) canvas.text_out(column_a - canvas.text_width(a), y, a);
    if (!b.isEmpty()) canvas.text_out(column_b - canvas.text_width(b), y, b);
  };
  row(1, table_text(target.language, "txt_stat_mean"), qs(texts.mean_rate) + "/min", qs(texts.mean_period) + " ms");
  row(2, table_text(target.language, "txt_stat_sd"), qs(texts.sd_rate) + "/min", qs(texts.sd_period) + " ms");
  row(3, table_text(target.language, "txt_stat_cv"), qs(texts.vc) + " %", QString());
  row(4, table_text(target.language, "txt_stat_limits"), QString(), QString());
  row(5, table_text(target.language, "txt_stat_lower"), QString::number(2 * stats.StatLower) + "/min",
      limit_period_text(stats.StatLower) + " ms");
  row(6, table_text(target.language, "txt_stat_upper"), QString::number(2 * stats.StatUpper) + "/min",
      limit_period_text(stats.StatUpper) + " ms");
  canvas.set_font(7, false);
}

QColor bar_colour(bool printer, bool within) {
  if (printer) return within ? kGrid : kWhite;
  return within ? kRed : kBlue;
}

// Bars, ticks and labels in device pixels; `line` is how wide the ticks and bar frames are
// (one window pixel) and `top_room` how far the fullest bar stays below the plot's top.
void draw_bars_and_axis(Canvas& canvas, const HistogramPlacement& p, const BeatStatistics& stats, int line,
                        int top_room) {
  const int L = p.L, T = p.T, H = p.H;
  const int bw = p.W / kBinSteps;
  const int axis = T + H;
  const int tick = p.tick;
  const int max_count = *std::max_element(stats.HistCount.begin() + kFirstBin, stats.HistCount.end());
  const int label_y = axis + canvas.text_height();

  for (int k = kFirstBin; k <= kAxisEndBin; ++k) {
    const int xk = L + bw + (k - kFirstBin) * bw;
    if (stats.HistCount[k] > 0 && k <= kLastBarBin) {
      const int hk = static_cast<int>(
          round_even(static_cast<double>(stats.HistCount[k]) / max_count * (H - top_room)));
      const bool within = stats.StatLower <= k && k < stats.StatUpper;
      canvas.fill_rect(xk + 1, axis - hk, L + bw - 2 + (k - 14) * bw, axis - 1, bar_colour(canvas.printer(), within));
      canvas.bevel(xk, axis - 1 - hk, L + bw - 1 + (k - 14) * bw, axis - 1);
    }
    canvas.set_pen_solid();
    wide_line(canvas, {xk, axis}, {xk, axis + 1 + tick}, line);
    if (k % 5 == 0) {
      wide_line(canvas, {xk, axis + 1 + tick}, {xk + bw, axis + 2 * (tick + 1)}, line);
      canvas.text_out(xk, label_y, QString::number(2 * k), canvas.colours().face);
    }
  }
}

}  // namespace

HistogramPlacement screen_histogram_placement(const ScreenScale& scale) {
  const HistogramPlacement first;
  const auto [grown_width, grown_height] = scale.growth(kHistogramImageSize);
  HistogramPlacement p;
  p.L = scale.px(first.L);
  p.T = scale.px(first.T);
  p.W = scale.px(first.W + grown_width);
  p.H = scale.px(first.H + grown_height);
  // The ticks and their labels below the axis keep their size when the plot grows taller.
  p.tick = scale.px(first.H) / 54;
  p.panel_top = scale.px(first.panel_top + grown_height);
  return p;
}

int screen_histogram_bins_width(ImageSize logical, double ratio) {
  const ScreenScale scale{logical, {0, 0}, usable_pixel_ratio(ratio)};
  return static_cast<int>(std::nearbyint(screen_histogram_placement(scale).W / kBinSteps * kBinSteps / scale.ratio));
}

HistogramPlacement histogram_placement(QPainter& painter, const ViewTarget& target) {
  if (!target.printer) return screen_histogram_placement(chart_scale(painter, target));
  const int PW = target.page.width;
  const int PH = target.page.height;
  const PrintUnits units = print_units(PW, PH);
  const int th = painter.fontMetrics().height();
  HistogramPlacement p;
  p.L = units.print_left;
  p.T = (9 * PH) / 30 + units.print_gap + units.print_top + th;
  p.W = PW - 2 * units.print_left;
  p.H = static_cast<int>(round_even(PH * 8.5 / 30)) - 3 * th;
  p.title_y = p.T - title_hang_height(painter, true);

  // The page leaves the title less room between the trend's seconds labels above and the plot
  // than its line needs: the title moves below the labels and the plot below the title, each
  // with a quarter line of air, and the plot keeps its bottom.
  const int air = th / 4;
  QFont title_font = painter.font();
  title_font.setPointSize(kPrintTitlePoints);
  title_font.setBold(true);
  const int title_height = QFontMetrics(title_font, painter.device()).height();
  p.title_y = std::max(p.title_y, printed_trend_bottom(painter, target) + air);
  const int top = std::max(p.T, p.title_y + title_height + air);
  p.H -= top - p.T;
  p.T = top;
  p.tick = p.H / 54;
  return p;
}

void draw_histogram(QPainter& painter, const BeatStatistics& stats, const ViewTarget& target,
                    bool statistics_only) {
  const HistogramPlacement p = histogram_placement(painter, target);
  ChartFrame frame;
  if (!statistics_only) frame.title = table_text(target.language, "txt_title_histogram");
  frame.title_y = p.title_y;
  frame.border_inset = 2;
  const ScreenScale scale = chart_scale(painter, target);
  draw_chart(painter, target, frame, [&](Canvas& canvas) {
    if (!statistics_only) plot_frame(canvas, p.L, p.T, p.L + p.W, p.T + p.H, scale.line_width());
    if (stats.present) {
      if (target.printer) {
        print_statistics_block(canvas, target, stats);
      } else {
        screen_panel(canvas, p, scale, statistics_texts(stats), target.language);
      }
    }
    if (!statistics_only) draw_bars_and_axis(canvas, p, stats, scale.line_width(), scale.px(5));
  });
}

}  // namespace pulvitra
