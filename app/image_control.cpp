#include "app/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace pulvitra {

ImageControl::ImageControl(const QString& name, int width, int height, QWidget* parent)
    : QWidget(parent), picture_(width, height, QImage::Format_RGB32) {
  setObjectName(name);
  resize(width, height);
  picture_.fill(palette().color(QPalette::Button));
}

void ImageControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mousePressed(p.x(), p.y(), event->button());
  QWidget::mousePressEvent(event);
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) emit doubleClicked(p.x(), p.y());
}

}  // namespace pulvitra
