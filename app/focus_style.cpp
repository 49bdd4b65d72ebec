#include "app/focus_style.h"

#include <QPainter>
#include <QStyleOption>

namespace pulvitra {

FocusFrameStyle::FocusFrameStyle(QStyle* base) : QProxyStyle(base) {}

QColor FocusFrameStyle::frame_colour(const QPalette& palette) {
  return palette.color(QPalette::Active, QPalette::Highlight).darker(130);
}

namespace {

// A solid, unsmoothed frame line of the focus colour, leaving the painter as it was.
void draw_focus_frame(QPainter* painter, const QPalette& palette, int width, const QRect& rect) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(QPen(FocusFrameStyle::frame_colour(palette), width));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect);
  painter->restore();
}

}  // namespace

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // In place of the faint tinted box: one solid line, whether the focus came by key or click.
  draw_focus_frame(painter, option->palette, 1, option->rect.adjusted(0, 0, -1, -1));
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  if (element != CE_PushButtonBevel || !(option->state & State_HasFocus)) return;
  draw_focus_frame(painter, option->palette, 2, option->rect.adjusted(3, 3, -3, -3));
}

}  // namespace pulvitra
