// The recording the view benchmarks draw: a generated one filling the whole recorder memory,
// with event marks every 20 s and a pace code every 50 beats, decoded once.
#pragma once

#include <memory>

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
    DecodeRecording(*r);
    return r;
  }();
  return *ekg;
}

}  // namespace pulvitra
