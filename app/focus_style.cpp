#include "app/focus_style.h"

#include <QPainter>
#include <QStyleOption>

namespace pulvitra {

FocusFrameStyle::FocusFrameStyle(QStyle* base) : QProxyStyle(base) {}

QColor FocusFrameStyle::frame_colour(const QPalette& palette) {
  return palette.color(QPalette::Active, QPalette::Highlight).darker(130);
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // In place of the faint tinted box: one solid line, whether the focus came by key or click.
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(QPen(frame_colour(option->palette), 1));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  if (element != CE_PushButtonBevel || !(option->state & State_HasFocus)) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(QPen(frame_colour(option->palette), 2));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(option->rect.adjusted(3, 3, -3, -3));
  painter->restore();
}

}  // namespace pulvitra
