// An image control: shows a persistent bitmap that the views draw into, and reports mouse
// presses and double-clicks in window pixels. The bitmap holds device pixels (ratio of them per
// window pixel on a scaled screen) and keeps its last drawing until it is drawn again or
// resized.
#pragma once

#include <QImage>
#include <QWidget>

#include "views/screen_image.h"

namespace pulvitra {

class ImageControl : public QWidget {
  Q_OBJECT
 public:
  ImageControl(const QString& name, int width, int height, QWidget* parent);

  QImage& picture() { return picture_; }
  const QImage& picture() const { return picture_; }
  double pixel_ratio() const { return ratio_; }
  // A new, empty bitmap of that size in window pixels at that device pixel ratio, and the
  // control as large; nothing happens when both are as they are.
  void set_picture_size(ImageSize logical, double ratio);
  // Call after drawing into picture() so the screen shows it.
  void refresh() { update(); }

 signals:
  void mousePressed(int x, int y, Qt::MouseButton button);
  void doubleClicked(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  ScreenImageMemory memory_;
  QImage picture_;  // on memory_
  double ratio_ = 1.0;
};

}  // namespace pulvitra
