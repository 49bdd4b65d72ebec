// Drawing time of the overview and the zoom on their screen images, on a generated
// recording filling the whole recorder memory. Scrolling and zooming redraw one of them on
// every move, so each redraw should take at most 5 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "shell/language.h"
#include "bench/view_bench_support.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "views/redraw.h"
#include "views/screen_sizes.h"
#include "views/selection.h"

namespace pulvitra {
namespace {

// Argument: the overview position (first visible strip).
void BM_OverviewScreen(benchmark::State& state) {
  QImage image(kOverviewImageSize.width, kOverviewImageSize.height, QImage::Format_RGB32);
  ViewTarget target;
  target.screen.overview = &image;
  TEKG& ekg = generated_recording();
  ViewState view_state;
  view_state.overview_pos = static_cast<int>(state.range(0));
  for (auto _ : state) {
    redraw_views(kViewOverview, target, ekg, view_state);
    benchmark::DoNotOptimize(image.constBits());
  }
}

// Argument: the zoom factor in percent (25 % draws the most: twelve pages).
void BM_ZoomScreen(benchmark::State& state) {
  QImage image(kZoomImageSize.width, kZoomImageSize.height, QImage::Format_RGB32);
  ViewTarget target;
  target.screen.zoom = &image;
  TEKG& ekg = generated_recording();
  ViewState view_state;
  view_state.zoom_pos = 40;
  view_state.zoom_factor = static_cast<int>(state.range(0));
  for (auto _ : state) {
    redraw_views(kViewZoom, target, ekg, view_state);
    benchmark::DoNotOptimize(image.constBits());
  }
}

// A mouse press on the overview: the selection removed and drawn again.
void BM_MoveSelection(benchmark::State& state) {
  QImage image(kOverviewImageSize.width, kOverviewImageSize.height, QImage::Format_RGB32);
  image.fill(Qt::lightGray);
  const ViewState view_state;
  for (auto _ : state) {
    toggle_selection(image, view_state, screen_scale(image, 1.0));
    toggle_selection(image, view_state, screen_scale(image, 1.0));
    benchmark::DoNotOptimize(image.constBits());
  }
}

BENCHMARK(BM_OverviewScreen)->Arg(0)->Arg(8)->Arg(17)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomScreen)->Arg(300)->Arg(200)->Arg(100)->Arg(50)->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveSelection)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pulvitra

int main(int argc, char** argv) { return pulvitra::run_view_benchmarks(argc, argv); }
