#include "views/chart_paint.h"

#include "views/bevel.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace pulvitra::chart {

Colours colours_for(const ViewTarget& target) {
  if (target.printer) return Colours{kWhite, kBlack, kBlack, true};
  const ViewColours screen = screen_colours();
  return Colours{screen.face, screen.light, screen.dark, false};
}

void Pen::line_to(int x, int y) {
  const int dx = x - x_;
  const int dy = y - y_;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 1) {
    painter_.drawPoint(x_, y_);
  } else if (steps > 1) {
    // Stop one pixel short along the longer axis, so the end point stays unpainted.
    const int ex = x_ + dx * (steps - 1) / steps;
    const int ey = y_ + dy * (steps - 1) / steps;
    painter_.drawLine(x_, y_, ex, ey);
  }
  x_ = x;
  y_ = y;
}

void Pen::colour(const QColor& c) {
  QPen pen = painter_.pen();
  pen.setColor(c);
  painter_.setPen(pen);
}

void Pen::solid() {
  QPen pen = painter_.pen();
  pen.setStyle(Qt::SolidLine);
  pen.setColor(kBlack);
  painter_.setPen(pen);
}

void Pen::dotted_grey() {
  QPen pen = painter_.pen();
  pen.setStyle(Qt::DotLine);
  pen.setColor(kGrid);
  painter_.setPen(pen);
}

void Pen::width(int w) {
  QPen pen = painter_.pen();
  pen.setWidth(std::max(w, 1));
  painter_.setPen(pen);
}

void bevel(QPainter& painter, int x1, int y1, int x2, int y2, const Colours& colours) {
  pulvitra::bevel(painter, x1, y1, x2, y2, colours.printer);
}

void fill_rect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour) {
  if (x2 <= x1 || y2 <= y1) return;
  painter.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), colour);
}

int text_width(const QPainter& painter, const QString& text) {
  return painter.fontMetrics().horizontalAdvance(text);
}

int text_height(const QPainter& painter, const QString& /*text*/) {
  return painter.fontMetrics().height();
}

void text_out(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void text_out(QPainter& painter, int x, int y, const QString& text, const QColor& background) {
  const QFontMetrics metrics = painter.fontMetrics();
  painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), background);
  text_out(painter, x, y, text);
}

void set_font(QPainter& painter, int point_size, bool bold) {
  QFont font = painter.font();
  font.setPointSize(point_size);
  font.setBold(bold);
  painter.setFont(font);
}

int screen_font_height() { return QFontMetrics(screen_font()).height(); }

void use_screen_font(QPainter& painter) { painter.setFont(screen_font()); }

PrintUnits print_units(int page_width, int page_height) {
  return PrintUnits{page_height / 10, page_height / 30, page_width / 7, (2 * page_height) / 30};
}

void print_title(QPainter& painter, const QString& title, int print_left, int y) {
  set_font(painter, 10, true);
  text_out(painter, print_left - text_width(painter, "XXX"), y, title);
  set_font(painter, 7, false);
}

void print_title(QPainter& painter, const QString& title, const PrinterPage& page, int y) {
  print_title(painter, title, print_units(page.width, page.height).print_left, y);
}

void screen_background(QPainter& painter, const Colours& colours, int inset) {
  const int width = painter.device()->width();
  const int height = painter.device()->height();
  fill_rect(painter, 0, 0, width, height, colours.face);
  bevel(painter, width - inset, height - inset, 0, 0, colours);
}

}  // namespace pulvitra::chart
