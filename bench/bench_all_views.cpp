// Drawing time of the views on a generated recording filling the whole recorder memory, on
// their screen images. Every change of the recording redraws all of them at once; that
// should take at most 10 ms at the window's first size, and 20 ms in a full-HD window at a
// pixel ratio of 2, to keep the window responsive.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "analysis/evaluation.h"
#include "shell/language.h"
#include "bench/view_bench_support.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "views/histogram_view.h"
#include "views/lorenz_view.h"
#include "views/redraw.h"
#include "views/screen_image.h"
#include "views/trend_view.h"

namespace pulvitra {
namespace {

// The most the decoder ever keeps: 2798 beats (a short sample interval), the rate drifting
// between rest and exercise with some beat-to-beat spread, and some marks.
TEKG& full_beat_table() {
  static std::unique_ptr<TEKG> ekg = [] {
    auto r = std::make_unique<TEKG>();
    clear_recording(*r);
    r->BeatCount = 2798;
    for (int k = 1; k <= r->BeatCount + 1; ++k) {
      r->BeatRate[k] = 100.0f + 40.0f * std::sin(k / 300.0f) + static_cast<float>((k * 37) % 9);
      if (k % 97 == 0) r->BeatFlags[k] = kFlagCode254;
      if (k % 500 == 0) r->BeatFlags[k] |= kFlagStartRecord;
    }
    return r;
  }();
  return *ekg;
}

// Argument 0: a generated recording filling the memory; 1: the full beat table.
template <typename Draw>
void draw_repeatedly(benchmark::State& state, ImageSize size, Draw draw) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  TEKG& ekg = state.range(0) == 0 ? generated_recording() : full_beat_table();
  for (auto _ : state) {
    QPainter painter(&image);
    draw(painter, ekg);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["beats"] = ekg.BeatCount;
}

void BM_Histogram(benchmark::State& state) {
  draw_repeatedly(state, kHistogramImageSize, [&](QPainter& p, const TEKG& ekg) {
    draw_histogram(p, evaluate(ekg, 30, 50).statistics, ViewTarget{}, false);
  });
}

void BM_Trend(benchmark::State& state) {
  draw_repeatedly(state, kTrendImageSize, [](QPainter& p, const TEKG& ekg) { draw_trend(p, ekg, ViewTarget{}); });
}

void BM_Lorenz(benchmark::State& state) {
  draw_repeatedly(state, kLorenzImageSize, [](QPainter& p, const TEKG& ekg) { draw_lorenz(p, ekg, ViewTarget{}); });
}

// What New, Open and the end of an upload do: every view on its screen image, in a window of
// that size on a screen of that density.
struct ScreenViews {
  ScreenViews(ImageSize window, double ratio) {
    const auto image = [&](int kind) { return make_screen_image(grown_image_size(*view_of_kind(kind), window), ratio); };
    zoom = image(kViewZoom), overview = image(kViewOverview), trend = image(kViewTrend);
    histogram = image(kViewHistogram), lorenz = image(kViewLorenz);
    target.screen = ScreenImages{&zoom, &overview, &trend, &histogram, &lorenz, ratio};
  }
  QImage zoom, overview, trend, histogram, lorenz;
  ViewTarget target;
};

TEKG& recording_of(const benchmark::State& state) {
  return state.range(0) == 0 ? generated_recording() : full_beat_table();
}

void redraw_all_screen(benchmark::State& state, ImageSize window, double ratio) {
  ScreenViews views(window, ratio);
  const TEKG& ekg = recording_of(state);
  const ViewState view_state;
  // The window's images exist before a redraw: their memory is touched once, untimed (the first
  // drawing at a new density also loads its fonts).
  redraw_views(kViewAll, views.target, ekg, view_state);
  for (auto _ : state) {
    redraw_views(kViewAll, views.target, ekg, view_state);
    benchmark::DoNotOptimize(views.lorenz.constBits());
  }
  state.counters["beats"] = ekg.BeatCount;
}

// What each step of a window being resized to full HD at ratio 2 costs, as the window does it:
// every image anew on the memory each view keeps, and every view drawn on them.
void BM_ResizeFullHdRatio2(benchmark::State& state) {
  const TEKG& ekg = recording_of(state);
  const ViewState view_state;
  ScreenImageMemory memory[5];
  const int kinds[5] = {kViewZoom, kViewOverview, kViewTrend, kViewHistogram, kViewLorenz};
  const auto resize_and_redraw = [&] {
    QImage images[5];
    for (int k = 0; k < 5; ++k) images[k] = memory[k].image(grown_image_size(*view_of_kind(kinds[k]), {1920, 1080}), 2.0);
    ViewTarget target;
    target.screen = ScreenImages{&images[0], &images[1], &images[2], &images[3], &images[4], 2.0};
    redraw_views(kViewAll, target, ekg, view_state);
  };
  resize_and_redraw();  // the window's first step to that size
  for (auto _ : state) resize_and_redraw();
}

void BM_RedrawAllScreen(benchmark::State& state) { redraw_all_screen(state, kMainWindowSize, 1.0); }

// A full-HD window on a screen scaled to 200 %: the largest redraw a clinic's screens ask for;
// it should stay under 20 ms.
void BM_RedrawAllScreenFullHdRatio2(benchmark::State& state) { redraw_all_screen(state, {1920, 1080}, 2.0); }

BENCHMARK(BM_RedrawAllScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAllScreenFullHdRatio2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResizeFullHdRatio2)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Histogram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lorenz)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pulvitra

int main(int argc, char** argv) { return pulvitra::run_view_benchmarks(argc, argv); }
