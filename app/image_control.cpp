#include "app/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace pulvitra {

ImageControl::ImageControl(const QString& name, int width, int height, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  set_picture_size({width, height}, 1.0);
}

void ImageControl::set_picture_size(ImageSize logical, double ratio) {
  if (!picture_.isNull() && ratio == ratio_ && logical.width == width() && logical.height == height()) return;
  ratio_ = usable_pixel_ratio(ratio);
  picture_ = memory_.image(logical, ratio_);
  picture_.fill(palette().color(QPalette::Button));
  resize(logical.width, logical.height);
}

// The bitmap fills the control: on a scaled screen its device pixels meet the screen's one to one.
void ImageControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
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
