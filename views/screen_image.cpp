#include "views/screen_image.h"

#include <algorithm>
#include <cmath>

namespace pulvitra {

namespace {

int device_length(int logical, double ratio) { return static_cast<int>(std::nearbyint(logical * ratio)); }

}  // namespace

int ScreenScale::px(int length) const { return device_length(length, ratio); }

int ScreenScale::line_width() const { return std::max(1, px(1)); }

ScreenScale screen_scale(const QPaintDevice& image, double ratio) {
  const double r = usable_pixel_ratio(ratio);
  return {{static_cast<int>(std::nearbyint(image.width() / r)), static_cast<int>(std::nearbyint(image.height() / r))},
          {image.width(), image.height()},
          r};
}

QImage make_screen_image(ImageSize logical, double ratio) {
  const double r = usable_pixel_ratio(ratio);
  QImage image(device_length(logical.width, r), device_length(logical.height, r), QImage::Format_RGB32);
  if (r != 1.0) {
    image.setDotsPerMeterX(static_cast<int>(std::nearbyint(image.dotsPerMeterX() * r)));
    image.setDotsPerMeterY(static_cast<int>(std::nearbyint(image.dotsPerMeterY() * r)));
  }
  return image;
}

ImageSize view_image_size(ImageSize first_size, ImageSize window) {
  return {first_size.width + std::max(0, window.width - kMainWindowSize.width),
          first_size.height + std::max(0, window.height - kMainWindowSize.height)};
}

double usable_pixel_ratio(double ratio) { return std::isfinite(ratio) && ratio >= 1.0 && ratio <= 4.0 ? ratio : 1.0; }

}  // namespace pulvitra
