#include "views/bevel.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cstdlib>

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

QFont screen_font() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setPointSize(8);
  // Crisp single-colour text as the views have always had, the same on every desktop.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

Canvas::Canvas(QPainter& painter) : painter_(painter), colour_(Qt::black) { pending_.reserve(4096); }

Canvas::~Canvas() { flush(); }

void Canvas::set_pen_colour(const QColor& colour) {
  if (colour == colour_) return;
  flush();
  colour_ = colour;
}

void Canvas::line_to(int x, int y) {
  // Steps along the longer axis from the pen position; the end point itself is left out.
  const int dx = x - pos_.x();
  const int dy = y - pos_.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  for (int k = 0; k < steps; ++k) {
    pending_.emplace_back(pos_.x() + nearest_step(k * dx, steps), pos_.y() + nearest_step(k * dy, steps));
  }
  pos_ = QPoint(x, y);
}

void Canvas::fill_rect(int x1, int y1, int x2, int y2, const QColor& colour) {
  flush();
  if (x2 <= x1 || y2 <= y1) return;
  painter_.fillRect(x1, y1, x2 - x1, y2 - y1, colour);
}

void Canvas::flush() {
  if (pending_.empty()) return;
  QPen pen(colour_);
  pen.setWidth(0);  // one device pixel on the screen and on paper
  const QPen saved = painter_.pen();
  painter_.setPen(pen);
  painter_.drawPoints(pending_.data(), static_cast<int>(pending_.size()));
  painter_.setPen(saved);
  pending_.clear();
}

void bevel(Canvas& canvas, int x1, int y1, int x2, int y2, bool printer) {
  const ViewColours colours = screen_colours();
  canvas.set_pen_colour(printer ? QColor(Qt::black) : colours.light);
  canvas.move_to(x1, y2);
  canvas.line_to(x1, y1);
  canvas.line_to(x2, y1);
  canvas.set_pen_colour(printer ? QColor(Qt::black) : colours.dark);
  canvas.line_to(x2, y2);
  canvas.line_to(x1, y2);
}

void bevel(QPainter& painter, int x1, int y1, int x2, int y2, bool printer) {
  Canvas canvas(painter);
  bevel(canvas, x1, y1, x2, y2, printer);
}

}  // namespace pulvitra
