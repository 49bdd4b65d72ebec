#include "app/track_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pulvitra {

TrackBar::TrackBar(const QString& name, QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setObjectName(name);
  setTickPosition(QSlider::TicksBelow);
}

void TrackBar::setSelection(int start, int end) {
  if (start == sel_start_ && end == sel_end_) return;
  sel_start_ = start;
  sel_end_ = end;
  update();
}

int TrackBar::position_x(int value) const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  const int span = width() - handle.width();
  return QStyle::sliderPositionFromValue(minimum(), maximum(), value, span) + handle.width() / 2;
}

void TrackBar::paintEvent(QPaintEvent* event) {
  // The band goes under the handle: draw it first, then the slider over it.
  if (sel_end_ > sel_start_) {
    QPainter painter(this);
    const int x1 = position_x(sel_start_);
    const int x2 = position_x(sel_end_);
    painter.fillRect(QRect(x1, height() / 2 - 3, x2 - x1, 6), palette().color(QPalette::Highlight));
  }
  QSlider::paintEvent(event);
}

}  // namespace pulvitra
