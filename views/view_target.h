// Where the views draw: their screen images, or one printer page for all of them.
#pragma once

#include <QImage>
#include <QPainter>

#include "shell/language.h"
#include "recording/page_reader.h"

namespace pulvitra {

// The screen images of the views (any may be null: that view is then not drawn). Their
// sizes in window pixels are those of views/screen_sizes.h or larger (a grown window); each
// holds pixel_ratio device pixels per window pixel (views/screen_image.h).
struct ScreenImages {
  QImage* zoom = nullptr;       // Image1
  QImage* overview = nullptr;   // Image2
  QImage* trend = nullptr;      // Image3
  QImage* histogram = nullptr;  // Image4
  QImage* lorenz = nullptr;     // Image5
  double pixel_ratio = 1.0;
};

// A printer page: any paint device, with its page size in device pixels.
struct PrinterPage {
  QPainter* painter = nullptr;
  int width = 0;
  int height = 0;
};

struct ViewTarget {
  bool printer = false;
  Language language = kGerman;  // of the titles and labels drawn
  ScreenImages screen;
  PrinterPage page;
  // The recorder's marks that the readers of this recording met but nobody drew yet: a
  // drawing starts from them and leaves its own there (null: a drawing of its own).
  DeviceMarks* marks = nullptr;
};

}  // namespace pulvitra
