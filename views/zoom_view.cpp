#include "views/zoom_view.h"

#include <algorithm>
#include <cmath>

#include "shell/language.h"
#include "views/canvas.h"
#include "views/print_layout.h"

namespace pulvitra {

namespace {

constexpr int kSamplesPerSlot = 180;
constexpr int kMinFactor = 25;
constexpr int kMaxFactor = 400;

// The room the screen keeps around the frame at every size, in window pixels: beside it, for
// the beat labels above it, and for the ticks and time labels below it.
constexpr int kSideMargin = 5;
constexpr int kRoomAbove = 25;
constexpr int kRoomBelow = 32;

int rounded(double value) { return static_cast<int>(std::nearbyint(value)); }

// The page table's time columns have more slots than there are pages; pages past them
// (a zoom near the end at a small factor) count as time 0.
float page_time(const TEKG& ekg, int page) {
  return page >= 1 && page <= kPageInfoSlots ? ekg.PageTime[page] : 0.0f;
}
int page_rate(const TEKG& ekg, int page) {
  return page >= 1 && page <= kPageInfoSlots ? ekg.PageRate[page] : 0;
}
int page_start_block(const TEKG& ekg, int page) {
  return page >= 1 && page <= kPageCount ? ekg.PageStartBlock[page] : 0;
}

// The next full second after the start of the page.
float first_tick(const TEKG& ekg, int page) {
  return static_cast<float>((rounded(page_time(ekg, page)) / 1000 + 1) * 1000);
}

// One drawing of the zoom: the placement, the options and the pen of the trace.
class ZoomDrawing {
 public:
  ZoomDrawing(QPainter& painter, const TEKG& ekg, PageReader& reader, const ZoomPlacement& pl,
              const ZoomOptions& options)
      : canvas_(painter, pl.printer), ekg_(ekg), reader_(reader), pl_(pl), options_(options),
        factor_(std::clamp(options.factor, kMinFactor, kMaxFactor)) {
    canvas_.set_frame_width(pl_.line_width);
  }

  void draw();

 private:
  // Offset of sample i of slot j in screen units before scaling.
  double slot_offset(int i) const { return factor_ * i / 100.0 + (slot_ - 1) * factor_ * 180 / 100.0; }
  double x_scale() const { return pl_.width / 540.0; }
  // Multiplied before it is divided, as the printed pages have always been placed.
  int scaled_x(double offset) const { return pl_.x0 + rounded(offset * pl_.width / 540.0); }
  int x3(int i) const { return scaled_x(slot_offset(i) + 3); }
  int x6(int i) const { return scaled_x(slot_offset(i) + 6); }
  // A time label centred on its tick. The text width is already in device pixels, so on
  // paper it is not scaled again; the screen keeps the placement it has always had, with the
  // width taken back to units of the trace.
  int time_label_x(int i, int text_width) const {
    if (pl_.printer) return x3(i) - text_width / 2;
    return scaled_x(slot_offset(i) - text_width / (2.0 * x_scale()) + 3);
  }

  void draw_background_and_frame();
  void draw_page();
  void draw_tick(int i);
  void draw_beat_mark(int i);
  void draw_trace(int i, int v);
  void draw_device_marks(int i);
  void text_out(int anchor, int x, int top, const QString& text);

  Canvas canvas_;
  const TEKG& ekg_;
  PageReader& reader_;
  const ZoomPlacement& pl_;
  const ZoomOptions& options_;
  const int factor_;
  int slot_ = 1;
  float t_ = 0.0f;
  float tn_ = 0.0f;
  QPoint trace_pen_;
};

void ZoomDrawing::draw() {
  draw_background_and_frame();
  reader_.PageBeatValue = 0;
  reader_.PageBeatSeen = false;
  reader_.CurPage = static_cast<std::uint16_t>(std::clamp(options_.first_page, 1, kPageCount));
  trace_pen_ = pl_.trace_start;
  tn_ = first_tick(ekg_, reader_.CurPage);
  const int pages = zoom_page_count(factor_, pl_.trace_widths);
  for (slot_ = 1; slot_ <= pages; ++slot_) {
    draw_page();
    reader_.PageEnd = false;
    ++reader_.CurPage;
    tn_ = first_tick(ekg_, reader_.CurPage);
  }
  canvas_.flush();
}

void ZoomDrawing::draw_background_and_frame() {
  if (pl_.printer) {
    canvas_.set_pen_colour(kBlack);
    canvas_.move_to(pl_.frame_left, pl_.frame_top);
    canvas_.line_to(pl_.frame_right, pl_.frame_top);
    canvas_.line_to(pl_.frame_right, pl_.frame_bottom);
    canvas_.line_to(pl_.frame_left, pl_.frame_bottom);
    canvas_.line_to(pl_.frame_left, pl_.frame_top);
    return;
  }
  canvas_.fill_rect(0, 0, pl_.image_width, pl_.image_height, canvas_.colours().face);
  canvas_.bevel(pl_.frame_left, pl_.frame_top, pl_.frame_right, pl_.frame_bottom);
  canvas_.bevel(pl_.image_width - 1, pl_.image_height - 1, 0, 0);
  canvas_.set_pen_colour(kBlack);
}

void ZoomDrawing::draw_page() {
  reader_.start_page(reader_.CurPage);
  int i = -1;
  t_ = page_time(ekg_, reader_.CurPage);
  while (true) {
    ++i;
    t_ += static_cast<float>(page_rate(ekg_, reader_.CurPage));
    if (t_ >= tn_) draw_tick(i);
    const int v = NextPageSample(ekg_, reader_);
    if (reader_.PageEnd) return;
    if (reader_.PageBeatSeen && reader_.PageBeatValue > 0) draw_beat_mark(i);
    draw_trace(i, v);
    draw_device_marks(i);
  }
}

void ZoomDrawing::draw_tick(int i) {
  const int x = x3(i);
  canvas_.set_pen_colour(kBlack);
  for (int column = x; column < x + pl_.line_width; ++column) {
    canvas_.move_to(column, pl_.tick_top);
    canvas_.line_to(column, pl_.tick_bottom);
  }
  if (rounded(tn_ / 1000.0) % 2 == 0) {
    const QString text = options_.axis == 1 ? QString::number(page_start_block(ekg_, reader_.CurPage))
                                            : zoom_time_label(tn_);
    text_out(x, time_label_x(i, canvas_.text_width(text)), pl_.time_label_top, text);
  }
  tn_ += 1000.0f;
}

void ZoomDrawing::draw_beat_mark(int i) {
  const int x = x3(i);
  const int w = pl_.line_width;
  // An etched line: dark, with a light one beside it (both black on paper).
  canvas_.fill_rect(x, pl_.beat_line_top, x + w, pl_.beat_line_bottom, canvas_.colours().dark);
  canvas_.fill_rect(x + w, pl_.beat_line_top, x + 2 * w, pl_.beat_line_bottom, canvas_.colours().light);
  text_out(x, scaled_x(slot_offset(i) - pl_.beat_label_shift), pl_.beat_label_top,
           zoom_beat_label(reader_.PageBeatValue, options_.scale));
  reader_.PageBeatSeen = false;
}

void ZoomDrawing::draw_trace(int i, int v) {
  // The trace starts at mid-height.
  if (slot_ == 1 && i == 0) trace_pen_ = pl_.trace_start;
  // Zero and device codes are not plotted, and neither is anything past the slot's width:
  // the trace bridges them with a straight line.
  if (v < 1 || v > 250 || i >= kSamplesPerSlot) return;
  const double h = pl_.height;
  const int y = rounded((h + h * 256 / 366) / 2 - h * v / 366);
  canvas_.set_pen_colour(kBlack);
  canvas_.move_to(trace_pen_);
  canvas_.line_to(x6(i), y + pl_.y0);
  trace_pen_ = canvas_.pen_pos();
}

void ZoomDrawing::draw_device_marks(int i) {
  if (!canvas_.device_marks(reader_.marks, x3(i), pl_.mark_top, pl_.mark_bottom)) return;
  // A new measurement begins here: its time axis starts again at zero.
  tn_ = 0.0f;
  t_ = 0.0f;
}

// Labels stand on the background colour (white on paper). On the screen the picture ends at
// the frame: the label of a tick or beat at its very edge (the "0:00" of a measurement's first
// second) moves in far enough to be read whole; one whose tick or beat lies beyond the
// picture stays out of it.
void ZoomDrawing::text_out(int anchor, int x, int top, const QString& text) {
  if (!pl_.printer && anchor >= 0 && anchor < pl_.image_width)
    x = std::clamp(x, 0, std::max(0, pl_.image_width - canvas_.text_width(text)));
  canvas_.text_out(x, top, text, canvas_.colours().face);
}

// The printed title hangs above the frame by one and a half lines of the title font.
void draw_printer_title(QPainter& painter, const ZoomPlacement& pl, int print_left, Language language) {
  const QFont drawing_font = painter.font();
  {
    Canvas canvas(painter, true);
    canvas.set_font(10, true);
    const int y = pl.frame_top - (3 * canvas.text_height()) / 2;
    print_title(canvas, table_text(language, QStringLiteral("txt_title_ecg_zoom")), print_left, y);
  }
  painter.setFont(drawing_font);
}

// How many times the first size's 540 window pixels of trace fit beside the frame's margins.
double trace_width_scale(ImageSize logical) { return (logical.width - 2 * kSideMargin) / 540.0; }

// The trace's scale on the screen: a page as large as the width beside the frame's margins
// and the height between the beat labels above and the time labels below both allow (against
// the first size's 540 by 256), never smaller than at the first size.
double screen_trace_scale(ImageSize logical) {
  return std::max(1.0, std::min(trace_width_scale(logical), (logical.height - kRoomAbove - kRoomBelow) / 256.0));
}

}  // namespace

ZoomPlacement screen_zoom_placement(const ScreenScale& scale) {
  const double s = screen_trace_scale(scale.logical);
  const double k = s * scale.ratio;  // device pixels per unit of the trace
  ZoomPlacement p;
  p.image_width = scale.device.width;
  p.image_height = scale.device.height;
  p.width = 540 * k;
  p.height = 366 * k;
  // The frame keeps its top left corner in window pixels; in units of the trace it is at
  // (5, 55), its bottom (value 0) at row (366 + 256) / 2 = 311, and the trace begins at
  // mid-height 366 / 2.
  p.frame_left = scale.px(kSideMargin);
  p.x0 = p.frame_left - rounded(kSideMargin * k);
  p.frame_right = scale.px(scale.logical.width - kSideMargin);  // around every page that fits
  p.frame_top = scale.px(kRoomAbove);
  p.y0 = p.frame_top - rounded(55 * k);
  p.frame_bottom = p.y0 + rounded(311 * k);
  p.trace_start = QPoint(p.x0 + rounded(6 * k), p.y0 + rounded(183 * k));
  // Lines and marks are as wide as a window pixel; the labels keep their distances from the
  // frame in window pixels.
  const int w = scale.line_width();
  p.line_width = w;
  p.beat_line_top = p.frame_top;
  p.beat_line_bottom = p.frame_bottom + w;
  p.mark_top = p.frame_top + w;
  p.mark_bottom = p.frame_bottom + 1 - w;
  p.tick_top = p.frame_bottom + w;
  p.tick_bottom = p.tick_top + scale.px(5);
  p.time_label_top = p.frame_bottom + scale.px(9);
  p.beat_label_top = p.frame_top - scale.px(15);
  p.beat_label_shift = 2.0 / s;
  p.trace_widths = std::max(1.0, trace_width_scale(scale.logical) / s);
  return p;
}

ZoomPlacement printer_zoom_placement(QPainter& painter, int pw, int ph) {
  ZoomPlacement p;
  p.printer = true;
  const int height = (3 * ph) / 4;
  p.x0 = pw / 10;
  p.y0 = height / 10;
  p.width = (95 * pw) / 120;
  p.height = height;
  p.trace_start = QPoint(p.x0 + 6, height / 2 + p.y0);
  p.image_width = pw;
  p.image_height = ph;
  p.frame_left = pw / 10;
  p.frame_right = pw - pw / 10;
  p.frame_top = (2 * ph) / 17 + p.y0;
  p.frame_bottom = (5 * ph) / 8 + p.y0;
  // The screen keeps its marks inside the frame and its labels a little off it; on paper
  // the same distances are measured in the printer font.
  const int th = painter.fontMetrics().height();
  p.beat_line_top = p.frame_top;
  p.beat_line_bottom = p.frame_bottom + 1;
  p.mark_top = p.frame_top + 1;
  p.mark_bottom = p.frame_bottom;
  p.tick_top = p.frame_bottom + 1;
  p.tick_bottom = p.tick_top + th / 2;
  p.time_label_top = p.tick_bottom + th / 4;
  p.beat_label_top = p.frame_top - th - th / 4;
  return p;
}

int zoom_page_count(int factor, double trace_widths) {
  return rounded(300.0 * trace_widths / std::clamp(factor, kMinFactor, kMaxFactor));
}

QString zoom_time_label(float tn) {
  const long minutes = static_cast<long>(std::trunc(tn / 60000.0));
  const long seconds = static_cast<long>(std::trunc(tn / 1000.0)) - 60 * minutes;
  return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

QString zoom_beat_label(int rate_byte, int scale) {
  if (scale == 1 || rate_byte <= 0) return QString::number(rate_byte);
  return QString::number(rounded(200.0 / (rate_byte / 60.0)) * 5);
}

void draw_zoom(QPainter& painter, const TEKG& ekg, PageReader& reader, const ZoomPlacement& placement,
               const ZoomOptions& options) {
  if (placement.printer) {
    QFont font = painter.font();
    font.setPointSize(6);
    painter.setFont(font);
    const int pw = placement.image_width;
    draw_printer_title(painter, placement, print_units(pw, placement.image_height).print_left, options.language);
    // The pages of a zoom reach past the frame's right edge; the screen image cuts them off
    // at its border, the paper at the frame (not at the edge of the sheet).
    painter.save();
    painter.setClipRect(0, 0, placement.frame_right + 1, placement.image_height);
    ZoomDrawing(painter, ekg, reader, placement, options).draw();
    painter.restore();
    return;
  }
  painter.setFont(screen_font());
  ZoomDrawing(painter, ekg, reader, placement, options).draw();
}

}  // namespace pulvitra
