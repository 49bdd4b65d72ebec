// An image control: shows a persistent bitmap that the views draw into, and reports mouse
// presses and double-clicks in image coordinates. The bitmap keeps its last drawing until it
// is drawn again.
#pragma once

#include <QImage>
#include <QWidget>

namespace pulvitra {

class ImageControl : public QWidget {
  Q_OBJECT
 public:
  ImageControl(const QString& name, int width, int height, QWidget* parent);

  QImage& picture() { return picture_; }
  const QImage& picture() const { return picture_; }
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
  QImage picture_;
};

}  // namespace pulvitra
