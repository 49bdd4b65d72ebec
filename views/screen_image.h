// The screen images of the views at any size and pixel density. The window's pixels are
// "logical"; on a scaled screen each of them is `ratio` device pixels. A view is drawn straight
// into an image of device pixels, with its fonts at the device's resolution, so a trace stays
// one device pixel wide instead of a block of ratio x ratio.
#pragma once

#include <QImage>
#include <cstddef>
#include <memory>

#include "shell/settings.h"
#include "views/screen_sizes.h"

namespace pulvitra {

// The main window as it opens: every view image then has its size of screen_sizes.h.
inline constexpr ImageSize kMainWindowSize{kWindowFirstWidth, kWindowFirstHeight};

// What a view needs to know of its screen image.
struct ScreenScale {
  ImageSize logical{0, 0};  // in window pixels
  ImageSize device{0, 0};   // in device pixels: the image's own size
  double ratio = 1.0;       // device pixels per window pixel

  // A length in window pixels as device pixels, rounded to the nearest (halves to even).
  int px(int length) const;
  // A line width in device pixels: at least one, as wide as ratio window pixels.
  int line_width() const;
  // How much larger than its first size the image is, in window pixels.
  ImageSize growth(ImageSize first_size) const {
    return {logical.width - first_size.width, logical.height - first_size.height};
  }
};

// The scale of a screen image (or any paint device) of device pixels drawn at that ratio.
ScreenScale screen_scale(const QPaintDevice& image, double ratio);

// An image for a view of that logical size at that ratio, in device pixels, filled with
// nothing yet. Its resolution is ratio times the standard, so text in points comes out ratio
// times as many pixels high. At ratio 1 it is the plain image of that size.
QImage make_screen_image(ImageSize logical, double ratio);

// The memory of one view's screen image, kept from one size to the next. A window being resized
// asks for a new image at every step, and fresh memory for a full-HD view at twice the density
// costs more to touch for the first time than drawing the view does. The memory only grows, by
// half again at least, so a growing window reallocates a few times only.
class ScreenImageMemory {
 public:
  // An image of that size in window pixels at that ratio, as make_screen_image makes it, on this
  // memory (its pixels are whatever they were). Valid until the next call.
  QImage image(ImageSize logical, double ratio);

 private:
  std::unique_ptr<quint32[]> pixels_;
  std::size_t capacity_ = 0;  // in pixels
};

// The image of a view in a main window of that size: it grows by as much as the window has
// grown beyond kMainWindowSize, and never shrinks below its first size.
ImageSize view_image_size(ImageSize first_size, ImageSize window);

// A device pixel ratio the views accept: 1 to 4 (anything else is taken as 1).
double usable_pixel_ratio(double ratio);

}  // namespace pulvitra
