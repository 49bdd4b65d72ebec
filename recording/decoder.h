// The decoder of the recorder's memory image: finds the beats, their heart rates and event
// bits, and cuts the samples into display pages (which the page reader walks).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "recording/page_reader.h"
#include "recording/tekg.h"

namespace pulvitra {

// The beat detector's running values. A decode does not reset them: it goes on from where the
// previous one stopped, so decoding the same image twice may place the first beat differently.
struct DetectorState {
  std::uint8_t running_average = 1;
  std::uint16_t samples_since_candidate = 0;
  bool operator==(const DetectorState&) const = default;
};

// What a decode found beyond the recording's tables.
struct DecodeResult {
  // The image position at which the beat detector stopped reading.
  std::uint16_t end_position = 0;
  // Image positions at which the kept beats were detected, in order: entry k-1 belongs to
  // BeatRate[k]. Holds BeatCount + 1 entries when two or more beats were kept (the last one
  // is kept but not counted), else BeatCount entries.
  std::vector<std::uint16_t> kept_positions;
  // The sample interval (ms) each of those beats was rated with, in the same order.
  std::vector<std::uint8_t> kept_intervals;
};

// What the decodes of the program's one recording carry from one to the next. It lives beside
// the recording; a new DecoderState is the state at program start.
struct DecoderState {
  // Sample interval in ms fixed by the opened recording file; 0 lets the decoder estimate it.
  std::uint8_t FixedInterval = 0;
  // Time added per image byte when the pages were built: round(100 / interval), 10 when unknown.
  std::uint8_t TimeStep = 0;
  DetectorState detector;
  // The marks the image reader met after the last beat candidate. The page reader of the
  // views goes on from them and leaves its own unshown marks here, which the next decode
  // gives to its first beat: the readers share them, as one recorder stream.
  DeviceMarks marks;
  // What the last decode found beyond the tables: the beats' positions for the exports.
  DecodeResult last_decode;
};

// Rebuilds BeatRate, BeatFlags, BeatCount, Pages, PageStartBlock, PageRate, PageTime and
// state.TimeStep from ekg.Image, with state.FixedInterval, going on from state.detector.
void DecodeRecording(TEKG& ekg, DecoderState& state);

// Number of positions j in 1..32760 where the image holds 255 0 255 0 (overlaps count).
int CountMeasurements(const TEKG& ekg);

// The most frequent of seven sample-interval estimates (ms): estimates 4..31 fall into the
// bins 2..15 (estimate div 2), the first bin with the strictly largest count wins and gives
// twice its number; 2 when no estimate fell into a bin.
std::uint8_t ModeInterval(const std::array<std::uint8_t, 7>& estimates);

// How pages find the rate of a beat detected at an image position: the position index, or
// the scan over all kept beats (slow; kept to compare against).
enum class BeatRateLookup { kIndexed, kLiteralScan };

// DecodeRecording with a choice of lookup, also returning the kept beat positions (which it
// keeps in state.last_decode as well).
DecodeResult decode_recording(TEKG& ekg, DecoderState& state, BeatRateLookup lookup = BeatRateLookup::kIndexed);

// The last image position whose byte counts as a sample: beyond it lie only the bytes the
// detector reads to finish its last step.
inline constexpr int kLastSamplePosition = 32759;

// The recording's samples as the detector reads them from the start of the image, device codes
// and their argument bytes passed over: each sample's value and its image position (1..32759,
// increasing).
struct ImageSamples {
  std::vector<std::uint8_t> values;
  std::vector<std::uint16_t> positions;
};
ImageSamples read_image_samples(const TEKG& ekg);

}  // namespace pulvitra
