// The window style with a focus frame that can be seen: the platform's own style draws the
// focus of a button or a check box so faintly that a user working with the keyboard loses
// it. This style draws everything as the style beneath it and adds a plain frame in the
// highlight colour around the focused control (inside a push button, around the text of a
// check box, radio button or tab).
#pragma once

#include <QProxyStyle>

namespace pulvitra {

class FocusFrameStyle : public QProxyStyle {
 public:
  explicit FocusFrameStyle(QStyle* base);  // takes base over

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;

  // The colour of the frame in a palette.
  static QColor frame_colour(const QPalette& palette);
};

}  // namespace pulvitra
