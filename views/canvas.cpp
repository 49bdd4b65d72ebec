#include "views/canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cstdlib>

#include "views/print_layout.h"

namespace pulvitra {

namespace {

// numerator / steps rounded to the nearest integer, halves away from zero.
int nearest_step(int numerator, int steps) {
  return numerator >= 0 ? (2 * numerator + steps) / (2 * steps) : -((-2 * numerator + steps) / (2 * steps));
}

}  // namespace

ViewColours screen_colours() {
  const QPalette palette = QGuiApplication::palette();
  // Plain RGB values, so the colours compare equal to the pixels they paint.
  return {QColor(palette.color(QPalette::Button).rgb()), QColor(palette.color(QPalette::Light).rgb()),
          QColor(palette.color(QPalette::Dark).rgb())};
}

ViewColours view_colours(bool printer) {
  if (printer) return {kWhite, kBlack, kBlack};
  return screen_colours();
}

QFont window_font() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setPointSize(8);
  return font;
}

QFont screen_font() {
  QFont font = window_font();
  // Crisp single-colour text as the views have always had, the same on every desktop.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

void set_point_size(QPainter& painter, int points) {
  QFont font = painter.font();
  font.setPointSize(points);
  painter.setFont(font);
}

int screen_font_height() { return QFontMetrics(screen_font()).height(); }

int title_hang_height(QPainter& painter, bool printer) {
  if (!printer || !painter.device()) return screen_font_height();
  return QFontMetrics(screen_font(), painter.device()).height();
}

Canvas::Canvas(QPainter& painter, bool printer, LineWalk walk)
    : painter_(painter), painter_pen_(painter.pen()), printer_(printer), walk_(walk), colours_(view_colours(printer)), colour_(kBlack) {
  pending_.reserve(4096);
  update_line_pen();
}

Canvas::~Canvas() {
  flush();
  painter_.setPen(painter_pen_);
}

QPainter& Canvas::painter() {
  flush();
  return painter_;
}

void Canvas::set_pen_colour(const QColor& colour) {
  if (colour == colour_) return;
  flush();
  colour_ = colour;
  update_line_pen();
}

void Canvas::set_pen_solid() {
  set_pen_colour(kBlack);
  style_ = Qt::SolidLine;
  update_line_pen();
}

void Canvas::set_pen_dotted_grey() {
  set_pen_colour(kGrid);
  style_ = Qt::DotLine;
  update_line_pen();
}

void Canvas::set_pen_width(int width) {
  width_ = std::max(width, 1);
  update_line_pen();
}

// Kept ready, so that a curve of thousands of lines does not build a pen for each.
void Canvas::update_line_pen() {
  line_pen_ = QPen(colour_);
  line_pen_.setStyle(style_);
  line_pen_.setWidth(width_);
  painter_has_line_pen_ = false;
}

void Canvas::line_to(int x, int y) {
  if (walk_ == LineWalk::kNearestStep && style_ == Qt::SolidLine && width_ == 1) {
    walk_to(x, y);
  } else {
    painter_line_to(x, y);
  }
}

void Canvas::walk_to(int x, int y) {
  const int dx = x - pos_.x();
  const int dy = y - pos_.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  for (int k = 0; k < steps; ++k) {
    pending_.emplace_back(pos_.x() + nearest_step(k * dx, steps), pos_.y() + nearest_step(k * dy, steps));
  }
  pos_ = QPoint(x, y);
}

void Canvas::painter_line_to(int x, int y) {
  flush();
  if (!painter_has_line_pen_) {
    painter_.setPen(line_pen_);
    painter_has_line_pen_ = true;
  }
  const int dx = x - pos_.x();
  const int dy = y - pos_.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 1) {
    painter_.drawPoint(pos_);
  } else if (steps > 1) {
    // Stop one pixel short along the longer axis, so the end point stays unpainted.
    painter_.drawLine(pos_.x(), pos_.y(), pos_.x() + dx * (steps - 1) / steps, pos_.y() + dy * (steps - 1) / steps);
  }
  pos_ = QPoint(x, y);
}

void Canvas::fill_rect(int x1, int y1, int x2, int y2, const QColor& colour) {
  flush();
  if (x2 <= x1 || y2 <= y1) return;
  painter_.fillRect(x1, y1, x2 - x1, y2 - y1, colour);
}

void Canvas::bevel(int x1, int y1, int x2, int y2) {
  const int sx = x1 <= x2 ? 1 : -1;
  const int sy = y1 <= y2 ? 1 : -1;
  for (int k = 0; k < frame_width_; ++k) bevel_edges(x1 + k * sx, y1 + k * sy, x2 - k * sx, y2 - k * sy);
}

void Canvas::bevel_edges(int x1, int y1, int x2, int y2) {
  // Frame edges run along the axes, where both walks give the same pixels.
  set_pen_colour(colours_.light);
  move_to(x1, y2);
  walk_to(x1, y1);
  walk_to(x2, y1);
  set_pen_colour(colours_.dark);
  walk_to(x2, y2);
  walk_to(x1, y2);
}

void Canvas::screen_background(int inset) {
  const int width = painter_.device()->width();
  const int height = painter_.device()->height();
  fill_rect(0, 0, width, height, colours_.face);
  bevel(width - inset, height - inset, 0, 0);
}

void Canvas::set_font(int point_size, bool bold) {
  QFont font = painter_.font();
  font.setPointSize(point_size);
  font.setBold(bold);
  painter_.setFont(font);
}

void Canvas::use_screen_font() { painter_.setFont(screen_font()); }

int Canvas::text_width(const QString& text) { return painter_.fontMetrics().horizontalAdvance(text); }

int Canvas::text_height() { return painter_.fontMetrics().height(); }

void Canvas::text_out(int x, int y, const QString& text) {
  flush();
  painter_.setPen(kBlack);
  painter_has_line_pen_ = false;
  painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

void Canvas::text_out(int x, int y, const QString& text, const QColor& background) {
  flush();
  const QFontMetrics metrics = painter_.fontMetrics();
  painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), background);
  text_out(x, y, text);
}

bool Canvas::device_marks(DeviceMarks& marks, int x, int top, int bottom) {
  if (marks.SawCode253) {
    fill_rect(x, top, x + frame_width_, bottom, kBlue);
    marks.SawCode253 = false;
  }
  if (marks.SawCode254) {
    fill_rect(x, top, x + frame_width_, bottom, kRed);
    marks.SawCode254 = false;
  }
  if (!marks.SawStartRecord) return false;
  fill_rect(x, top, x + frame_width_, bottom, kGreen);
  marks.SawStartRecord = false;
  return true;
}

// On a screen image the painter would set exactly these pixels: one device pixel per point, in
// the opaque pen colour, where nothing transforms or clips the drawing. Setting them directly
// spares the painter's per-point work, which a full-HD view at twice the density feels.
bool Canvas::plot_directly() {
  QPaintDevice* device = painter_.device();
  if (!device || device->devType() != QInternal::Image || colour_.alpha() != 255) return false;
  auto* image = static_cast<QImage*>(device);
  if (image->format() != QImage::Format_RGB32 || !painter_.deviceTransform().isIdentity() || painter_.hasClipping() ||
      painter_.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  const QRgb rgb = colour_.rgb();
  const int width = image->width();
  const int height = image->height();
  // The painter already owns the image's one copy of its pixels: write where it writes.
  uchar* bits = const_cast<uchar*>(image->constBits());
  const qsizetype stride = image->bytesPerLine();
  for (const QPoint& p : pending_) {
    if (p.x() < 0 || p.y() < 0 || p.x() >= width || p.y() >= height) continue;
    reinterpret_cast<QRgb*>(bits + p.y() * stride)[p.x()] = rgb;
  }
  return true;
}

void Canvas::flush() {
  if (pending_.empty()) return;
  if (plot_directly()) {
    pending_.clear();
    return;
  }
  QPen pen(colour_);
  pen.setWidth(0);  // one device pixel on the screen and on paper
  painter_.setPen(pen);
  painter_has_line_pen_ = false;
  painter_.drawPoints(pending_.data(), static_cast<int>(pending_.size()));
  pending_.clear();
}

ScreenScale chart_scale(QPainter& painter, const ViewTarget& target) {
  if (target.printer) return {};
  return screen_scale(*painter.device(), target.screen.pixel_ratio);
}

void plot_frame(Canvas& canvas, int x1, int y1, int x2, int y2, int line) {
  canvas.bevel(x1, y1, x2 + line - 1, y2 + line - 1);
}

void wide_line(Canvas& canvas, QPoint from, QPoint to, int width) {
  const QPoint d = to - from;
  const QPoint across = std::abs(d.x()) >= std::abs(d.y()) ? QPoint(0, 1) : QPoint(1, 0);
  for (int k = 0; k < width; ++k) {
    canvas.move_to(from + k * across);
    const QPoint end = to + k * across;
    canvas.line_to(end.x(), end.y());
  }
  canvas.move_to(to);
}

void draw_chart(QPainter& painter, const ViewTarget& target, const ChartFrame& frame,
                const std::function<void(Canvas&)>& body) {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  {
    Canvas canvas(painter, target.printer, LineWalk::kPainter);
    if (!target.printer) {
      const ScreenScale scale = chart_scale(painter, target);
      canvas.set_frame_width(scale.line_width());
      canvas.use_screen_font();
      // The border's outer edge covers the window pixel that lies inset pixels in from the far
      // edges, its wider frame reaching inwards from there.
      canvas.screen_background(scale.px(frame.border_inset) - (scale.line_width() - 1));
    } else if (!frame.title.isEmpty()) {
      print_title(canvas, frame.title, print_units(target.page.width, target.page.height).print_left, frame.title_y);
    }
    body(canvas);
  }
  const QFont font_left = painter.font();
  painter.restore();
  if (target.printer) painter.setFont(font_left);
}

}  // namespace pulvitra
