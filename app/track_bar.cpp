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
  QSlider::paintEvent(event);
  if (sel_end_ <= sel_start_) return;
  // The selection shows as a band just under the groove, between the two limits.
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const int x1 = position_x(sel_start_);
  const int x2 = position_x(sel_end_);
  QPainter painter(this);
  painter.fillRect(QRect(x1, groove.bottom() + 2, x2 - x1, 3), palette().color(QPalette::Highlight));
}

}  // namespace pulvitra
