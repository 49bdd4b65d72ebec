#include "views/screen_image.h"

#include <algorithm>
#include <cmath>

namespace pulvitra {

namespace {

int device_length(int logical, double ratio) { return static_cast<int>(std::nearbyint(logical * ratio)); }

// Text in points on the image comes out ratio times as many pixels high.
void set_resolution(QImage& image, double r) {
  if (r == 1.0) return;
  image.setDotsPerMeterX(static_cast<int>(std::nearbyint(image.dotsPerMeterX() * r)));
  image.setDotsPerMeterY(static_cast<int>(std::nearbyint(image.dotsPerMeterY() * r)));
}

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
  set_resolution(image, r);
  return image;
}

QImage ScreenImageMemory::image(ImageSize logical, double ratio) {
  const double r = usable_pixel_ratio(ratio);
  const int width = std::max(1, device_length(logical.width, r));
  const int height = std::max(1, device_length(logical.height, r));
  const std::size_t needed = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (needed > capacity_) {
    capacity_ = std::max(needed, capacity_ + capacity_ / 2);
    pixels_ = std::make_unique_for_overwrite<quint32[]>(capacity_);
  }
  QImage image(reinterpret_cast<uchar*>(pixels_.get()), width, height, width * 4, QImage::Format_RGB32);
  set_resolution(image, r);
  return image;
}

ImageSize view_image_size(ImageSize first_size, ImageSize window) {
  return {first_size.width + std::max(0, window.width - kMainWindowSize.width),
          first_size.height + std::max(0, window.height - kMainWindowSize.height)};
}

double usable_pixel_ratio(double ratio) { return std::isfinite(ratio) && ratio >= 1.0 && ratio <= 4.0 ? ratio : 1.0; }

}  // namespace pulvitra
