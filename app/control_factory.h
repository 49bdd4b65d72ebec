// Building the pages' controls as they are designed: a control with its name (objectName,
// by which captions, the lock and the tests find it) at its place and size on its parent.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace pulvitra {

template <typename T>
T* make_control(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new T(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

// A one-line label with its design caption.
inline QLabel* make_label(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h = 16) {
  auto* label = make_control<QLabel>(parent, name, x, y, w, h);
  label->setText(QString::fromUtf8(caption));
  return label;
}

}  // namespace pulvitra
