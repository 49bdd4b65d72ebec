// Drawing time of the views on a full generated recording (the whole recorder memory),
// on their screen images. Every change of the recording redraws all of them at once, so
// together they should stay well under 10 ms to keep the window responsive.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "app/core/language.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "views/histogram_view.h"
#include "views/lorenz_view.h"
#include "views/trend_view.h"

namespace pulvitra {
namespace {

TEKG& generated_recording() {
  static std::unique_ptr<TEKG> ekg = [] {
    auto r = std::make_unique<TEKG>();
    clear_recording(*r);
    GeneratorOptions options;
    options.event_every_s = 20.0;
    options.pace_every = 50;
    copy_generated_image(generate_recording(options), *r);
    DecodeRecording(*r);
    return r;
  }();
  return *ekg;
}

// The most the decoder ever keeps: 2798 beats, with a varying rhythm and some marks.
TEKG& full_beat_table() {
  static std::unique_ptr<TEKG> ekg = [] {
    auto r = std::make_unique<TEKG>();
    clear_recording(*r);
    r->BeatCount = 2798;
    for (int k = 1; k <= r->BeatCount + 1; ++k) {
      r->BeatRate[k] = 60.0f + static_cast<float>((k * 37) % 110);
      if (k % 97 == 0) r->BeatFlags[k] = kFlagCode254;
      if (k % 500 == 0) r->BeatFlags[k] |= kFlagStartRecord;
    }
    return r;
  }();
  return *ekg;
}

// Argument 0: a generated recording filling the memory; 1: the full beat table.
template <typename Draw>
void draw_repeatedly(benchmark::State& state, int width, int height, Draw draw) {
  QImage image(width, height, QImage::Format_RGB32);
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
  ViewSettings settings;
  settings.limit1 = 30;
  settings.limit2 = 50;
  draw_repeatedly(state, 590, 289, [&](QPainter& p, const TEKG& ekg) {
    draw_histogram(p, ekg, settings, ViewTarget{}, false);
  });
}

void BM_Trend(benchmark::State& state) {
  draw_repeatedly(state, 595, 366, [](QPainter& p, const TEKG& ekg) { draw_trend(p, ekg, ViewTarget{}); });
}

void BM_Lorenz(benchmark::State& state) {
  draw_repeatedly(state, 452, 412, [](QPainter& p, const TEKG& ekg) { draw_lorenz(p, ekg, ViewTarget{}); });
}

BENCHMARK(BM_Histogram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lorenz)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pulvitra

int main(int argc, char** argv) {
  // Text needs fonts, and fonts need a platform: offscreen without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  pulvitra::fill_language_table();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
