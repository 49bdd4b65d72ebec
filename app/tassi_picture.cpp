#include "app/tassi_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace pulvitra {

namespace {

const QColor kPaper(255, 244, 240);
const QColor kFineGrid(248, 205, 196);
const QColor kCoarseGrid(232, 150, 140);
const QColor kTrace(20, 20, 60);

// One beat as a height over 0..1 of its period: P wave, QRS complex, T wave.
double beat(double t) {
  auto bump = [t](double centre, double width, double height) {
    const double d = (t - centre) / width;
    return height * std::exp(-d * d);
  };
  return bump(0.16, 0.04, 4) - bump(0.33, 0.015, 5) + bump(0.37, 0.018, 34) - bump(0.41, 0.016, 9) +
         bump(0.64, 0.07, 8);
}

void draw_grid(QPainter& p, const QRect& area) {
  for (int x = area.left(); x <= area.right(); x += 4) {
    p.setPen(((x - area.left()) % 20 == 0) ? kCoarseGrid : kFineGrid);
    p.drawLine(x, area.top(), x, area.bottom());
  }
  for (int y = area.top(); y <= area.bottom(); y += 4) {
    p.setPen(((y - area.top()) % 20 == 0) ? kCoarseGrid : kFineGrid);
    p.drawLine(area.left(), y, area.right(), y);
  }
}

void draw_trace(QPainter& p, const QRect& area, double base, double period) {
  QPainterPath trace;
  trace.moveTo(area.left(), base - beat(0));
  for (int x = area.left(); x <= area.right(); ++x)
    trace.lineTo(x, base - beat(std::fmod(x - area.left(), period) / period));
  p.setPen(QPen(kTrace, 1.6));
  p.drawPath(trace);
}

// The recorder: a small grey box with a display and two leads going up to the strip.
void draw_recorder(QPainter& p) {
  p.setPen(QPen(QColor(70, 70, 70), 1.2));
  p.setBrush(QColor(120, 124, 132));
  p.drawRoundedRect(QRectF(38, 118, 74, 36), 6, 6);
  p.setBrush(QColor(170, 210, 170));
  p.drawRect(QRectF(46, 125, 34, 12));
  p.setBrush(QColor(200, 40, 40));
  p.drawEllipse(QPointF(96, 131), 4, 4);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 60, 60), 1.4));
  p.drawLine(QPointF(52, 118), QPointF(44, 104));
  p.drawLine(QPointF(98, 118), QPointF(106, 104));
}

}  // namespace

QImage wizard_picture() {
  QImage image(kWizardPictureWidth, kWizardPictureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  const QRect strip(4, 6, 143, 96);
  p.fillRect(strip, kPaper);
  draw_grid(p, strip);
  p.setRenderHint(QPainter::Antialiasing);
  draw_trace(p, strip, 42, 48);
  draw_trace(p, strip, 90, 44);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(kCoarseGrid);
  p.drawRect(strip);
  p.setRenderHint(QPainter::Antialiasing);
  draw_recorder(p);
  return image;
}

}  // namespace pulvitra
