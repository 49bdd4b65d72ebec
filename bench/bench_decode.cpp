// A full decode of a generated five-minute recording, as after every upload and Open: with
// the position index for the page beat marks, and with the scan over all kept beats per
// image position that the index replaces.
#include <benchmark/benchmark.h>

#include <memory>

#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace {

using namespace pulvitra;

std::unique_ptr<TEKG> generated_recording() {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_generated_image(generate_recording(GeneratorOptions{}), *ekg);
  return ekg;
}

void decode_benchmark(benchmark::State& state, BeatRateLookup lookup) {
  auto ekg = generated_recording();
  DecoderState decoder;
  for (auto _ : state) {
    DecodeResult result = decode_recording(*ekg, decoder, lookup);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(ekg->Pages);
  }
  state.counters["beats"] = ekg->BeatCount;
}

void BM_DecodeIndexed(benchmark::State& state) { decode_benchmark(state, BeatRateLookup::kIndexed); }
void BM_DecodeLiteralScan(benchmark::State& state) { decode_benchmark(state, BeatRateLookup::kLiteralScan); }

BENCHMARK(BM_DecodeIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeLiteralScan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
