// What the view benchmarks share: the recording they draw (a generated one filling the whole
// recorder memory, with event marks every 20 s and a pace code every 50 beats, decoded once)
// and their start, which text drawing needs.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "shell/language.h"

#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace pulvitra {

inline TEKG& generated_recording() {
  static std::unique_ptr<TEKG> ekg = [] {
    auto r = std::make_unique<TEKG>();
    clear_recording(*r);
    GeneratorOptions options;
    options.event_every_s = 20.0;
    options.pace_every = 50;
    copy_generated_image(generate_recording(options), *r);
    DecoderState decoder;
    DecodeRecording(*r, decoder);
    return r;
  }();
  return *ekg;
}

// Runs the registered benchmarks. Text needs fonts, and fonts need a platform: offscreen
// without a display.
inline int run_view_benchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace pulvitra
