// The sizes of the five screen images of the views, in pixels. The window, the command-line
// renderer, the benchmarks and the tests all draw into images of exactly these sizes, since
// every screen coordinate of a view is measured in its image.
#pragma once

namespace pulvitra {

struct ImageSize {
  int width;
  int height;
};

inline constexpr ImageSize kOverviewImageSize{545, 398};   // Image2
inline constexpr ImageSize kZoomImageSize{550, 313};       // Image1
inline constexpr ImageSize kHistogramImageSize{590, 289};  // Image4
inline constexpr ImageSize kTrendImageSize{595, 366};      // Image3
inline constexpr ImageSize kLorenzImageSize{452, 412};     // Image5

}  // namespace pulvitra
