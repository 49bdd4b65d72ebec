// Page tables written by hand for the drawing tests: a page is its samples and codes in
// reading order, closed by the end mark the decoder puts after every full page.
#pragma once

#include <QColor>
#include <QImage>
#include <initializer_list>
#include <memory>
#include <vector>

#include "recording/tekg.h"
#include "views/screen_sizes.h"

namespace pulvitra::test {

// A fresh recording after New: every page byte 125, no end marks.
inline std::unique_ptr<TEKG> new_recording() {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  ekg->BeatCount = 0;
  return ekg;
}

inline std::vector<int> repeat(int value, int count) { return std::vector<int>(count, value); }

inline std::vector<int> join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// Writes the bytes to page p followed by the end mark 254 255.
inline void set_page(TEKG& ekg, int page, const std::vector<int>& bytes) {
  int col = 1;
  for (int b : bytes) ekg.Pages[page][col++] = static_cast<std::uint8_t>(b);
  ekg.Pages[page][col++] = 254;
  ekg.Pages[page][col] = 255;
}

// Every page holds only its end mark: no samples at all.
inline void end_mark_every_page(TEKG& ekg) {
  for (int p = 1; p <= kPageCount; ++p) set_page(ekg, p, {});
}

inline QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// A screen image of a view, of its size in the window.
inline QImage screen_image(ImageSize size) { return QImage(size.width, size.height, QImage::Format_RGB32); }

}  // namespace pulvitra::test
