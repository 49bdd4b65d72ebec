// A view drawn on the screen at any size and pixel ratio, as the window draws it: into an
// image of device pixels, with the ratio in the target. The image starts magenta, so that
// pixels no drawing reached stand out.
#pragma once

#include <QImage>
#include <QPainter>
#include <utility>

#include "views/screen_image.h"
#include "views/view_target.h"

namespace pulvitra::test {

// draw(painter, target) draws the view.
template <class Draw>
QImage draw_scaled_screen(ImageSize logical, double ratio, Draw&& draw) {
  QImage image = make_screen_image(logical, ratio);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  ViewTarget target;
  target.screen.pixel_ratio = ratio;
  std::forward<Draw>(draw)(painter, target);
  return image;
}

}  // namespace pulvitra::test
