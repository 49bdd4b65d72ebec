#include "recording/decoder.h"

#include <cmath>
#include <memory>

namespace pulvitra {

namespace {

// Device codes of the image; bytes below kFirstCode are samples.
constexpr std::uint8_t kFirstCode = 251;
constexpr std::uint8_t kCodeSkip251 = 251;
constexpr std::uint8_t kCodeRateMarker = 252;
constexpr std::uint8_t kCodePace = 253;
constexpr std::uint8_t kCodeEvent = 254;
constexpr std::uint8_t kCodeStartRecord = 255;
// Argument of 254 that ends a page in the page table.
constexpr std::uint8_t kEndMarkArgument = 255;

// Rate markers go into the event sequence as 0xF000 + X; beat periods stay below it.
constexpr std::uint16_t kRateMarkerBase = 0xF000;

// The detector stops after the first sample it reads at this position or later, and the
// page table is built from the positions before it.
constexpr int kScanEnd = 32760;

constexpr int kEventSlots = 3000;          // event sequence [0..3000]
constexpr int kEventStopLength = 2995;     // the detector stops once the sequence is longer
constexpr int kBeatSlots = 4800;           // per-beat working arrays [0..4800]
constexpr int kLastFilteredBeat = 2800;    // only beat numbers 2..2800 reach the filter
constexpr int kLastFullPage = 179;         // page building stops when this page is reached
constexpr int kPageSamples = 180;          // samples on a full page
constexpr int kLowestRate = 40;
constexpr int kHighestRate = 180;
constexpr std::uint8_t kTimeStepUnknown = 10;
// Page reader: from this column on a code byte is returned like a sample.
constexpr int kPageCodeLimit = 269;

DetectorState g_detector;

// Working storage of one decode; value-initialised, so every decode starts from zeros.
struct DecodeWork {
  std::array<std::uint16_t, kEventSlots + 1> events;
  int event_count;
  std::uint16_t rate_marker;
  std::array<std::uint16_t, kBeatSlots + 1> beat_position;
  // Pass 2, by beat number.
  std::array<std::uint8_t, kBeatSlots + 1> interval;
  std::array<float, kBeatSlots + 1> rate;
  std::array<std::uint16_t, kBeatSlots + 1> position;
  std::array<std::uint8_t, kBeatSlots + 1> flags;
  // Pass 3, indexed like BeatRate.
  std::array<std::uint16_t, kBeatSlots + 1> kept_position;
  std::array<std::uint8_t, kBeatSlots + 1> kept_interval;
  int kept_count;
  // Kept beat detected at an image position (0 = none), for the indexed lookup.
  std::array<std::uint16_t, kImageSize + 1> kept_at;
};

int rounded(double value) { return static_cast<int>(std::nearbyint(value)); }

std::uint8_t time_step_for(std::uint8_t interval) {
  return interval != 0 ? static_cast<std::uint8_t>(rounded(100.0 / interval)) : kTimeStepUnknown;
}

// Appends to the event sequence. A sequence that is full (only a stream of chained rate
// markers gets there) takes nothing more, so nothing later reads past its end.
bool append_event(DecodeWork& work, std::uint16_t entry) {
  if (work.event_count >= kEventSlots) return false;
  work.event_count += 1;
  work.events[work.event_count] = entry;
  return true;
}

// Consumes the device code at ekg.ReadPos and leaves ReadPos on the byte after it.
void consume_image_code(TEKG& ekg, DecodeWork& work) {
  switch (ekg.Image[ekg.ReadPos]) {
    case kCodeSkip251:
    case kCodePace:
      ekg.ReadPos += 1;
      break;
    case kCodeRateMarker: {
      ekg.ReadPos += 1;
      const auto marker = static_cast<std::uint16_t>(kRateMarkerBase + ekg.Image[ekg.ReadPos]);
      append_event(work, marker);
      work.rate_marker = marker;
      ekg.ReadPos += 1;
      break;
    }
    case kCodeEvent:
      ekg.ReadPos += 2;
      ekg.SawCode254 = true;
      break;
    default:  // 255
      if (ekg.Image[ekg.ReadPos + 1] == 0) {
        ekg.ReadPos += 4;
        ekg.SawStartRecord = true;
      } else {
        ekg.ReadPos += 1;
      }
      break;
  }
}

// The image reader of the detector: the next sample, with the codes before it consumed.
// ReadPos starts below kScanEnd and codes are chained only up to kScanEnd, so the reader
// never looks past position kScanEnd + 4 (inside the image).
std::uint8_t NextImageSample(TEKG& ekg, DecodeWork& work) {
  ekg.ReadPos += 1;
  if (ekg.Image[ekg.ReadPos] >= kFirstCode) {
    do {
      consume_image_code(ekg, work);
    } while (ekg.Image[ekg.ReadPos] >= kFirstCode && ekg.ReadPos <= kScanEnd);
  }
  return ekg.Image[ekg.ReadPos];
}

// Pass 1: beat detection with a running average and a threshold that sinks with the time
// since the last candidate.
void detect_beats(TEKG& ekg, DecodeWork& work) {
  ekg.ReadPos = 0;
  ekg.BeatCount = 0;
  work.event_count = 0;
  work.rate_marker = 1;
  std::uint8_t event_bits = 0;
  ekg.BeatFlags.fill(0);
  ekg.PageTime.fill(0.0f);
  DetectorState& d = g_detector;
  do {
    d.samples_since_candidate += 1;
    const std::uint8_t b = NextImageSample(ekg, work);
    d.running_average = static_cast<std::uint8_t>((3 * d.running_average + b) / 4);
    const double threshold = (d.running_average + 20) - d.samples_since_candidate / 6.0;
    if (b > threshold && d.samples_since_candidate > 4) {
      if (ekg.SawStartRecord) event_bits |= kFlagStartRecord;
      if (ekg.SawCode254) event_bits |= kFlagCode254;
      ekg.SawStartRecord = false;
      ekg.SawCode253 = false;
      ekg.SawCode254 = false;
      if (b > d.running_average + 5) {
        // A beat that no longer fits the sequence is not counted either, so beat numbers
        // and sequence entries stay in step.
        if (append_event(work, d.samples_since_candidate)) {
          ekg.BeatCount += 1;
          work.beat_position[work.event_count] = ekg.ReadPos;
          ekg.BeatFlags[work.event_count] = event_bits;
        }
        event_bits = 0;
      }
      d.samples_since_candidate = 0;
    }
  } while (ekg.ReadPos < kScanEnd && work.event_count <= kEventStopLength);
  append_event(work, work.rate_marker);
}

// Seven estimates of the sample interval from the periods before entry i and the rate
// markers around them; m is the rate value in force and is updated on the way.
std::array<std::uint8_t, 7> interval_estimates(const DecodeWork& work, int i, int& m) {
  std::array<std::uint8_t, 7> estimates{};
  int skipped = 0;
  for (int k = 1; k <= 7; ++k) {
    int idx = i - k - skipped + 1;
    if (idx > 1 && work.events[idx] >= kRateMarkerBase) {
      m = work.events[idx] - kRateMarkerBase;
      skipped += 1;
    }
    idx = i - k - skipped + 1;
    if (idx <= 0 || work.events[idx] == 0 || m == 0) continue;
    const int half = rounded((30000.0 / m) / work.events[idx]);  // at most 30000
    estimates[k - 1] = static_cast<std::uint8_t>((2 * half) & 0xFF);
  }
  return estimates;
}

// Pass 2 (backwards through the sequence): interval and rate of every beat.
void rate_beats(TEKG& ekg, DecodeWork& work) {
  // The first entry read is the closing pseudo-entry, which sets m again when it is a marker.
  int m = work.rate_marker >= kRateMarkerBase ? work.rate_marker - kRateMarkerBase : work.rate_marker;
  for (int i = work.event_count; i >= 1; --i) {
    const std::uint16_t entry = work.events[i];
    if (entry >= kRateMarkerBase) {
      m = entry - kRateMarkerBase;
      continue;
    }
    const auto estimates = interval_estimates(work, i, m);
    const std::uint8_t interval = FixedInterval == 0 ? ModeInterval(estimates) : FixedInterval;
    const int q = ekg.BeatCount;
    const int period_ms = entry * interval;
    work.interval[q] = interval;
    work.rate[q] = period_ms > 0 ? 60000.0f / static_cast<float>(period_ms) : 70.0f;
    work.position[q] = work.beat_position[i];
    work.flags[q] = ekg.BeatFlags[i];
    if (q > 0) ekg.BeatCount = static_cast<std::uint16_t>(q - 1);
  }
}

// Pass 3: keeps the beats whose rate rounds into 40..180; the event bits of a dropped beat
// move on to the next kept one.
void filter_beats(TEKG& ekg, DecodeWork& work) {
  ekg.BeatFlags.fill(0);
  ekg.BeatRate.fill(0.0f);
  int kept = 0;
  std::uint8_t carried = 0;
  for (int e = 2; e <= kLastFilteredBeat; ++e) {
    carried |= work.flags[e];
    const int whole = rounded(work.rate[e]);
    if (whole < kLowestRate || whole > kHighestRate) continue;
    kept += 1;
    ekg.BeatRate[kept] = work.rate[e];
    ekg.BeatFlags[kept] = carried;
    work.kept_position[kept] = work.position[e];
    work.kept_interval[kept] = work.interval[e];
    carried = 0;
  }
  work.kept_count = kept;
  ekg.BeatCount = static_cast<std::uint16_t>(kept >= 2 ? kept - 1 : kept);
  TimeStep = time_step_for(work.kept_interval[1]);
}

// The counted beat detected at image position x, by a scan over all of them.
int counted_beat_by_scan(const TEKG& ekg, const DecodeWork& work, int x) {
  int found = 0;
  for (int b = 1; b <= ekg.BeatCount; ++b) {
    if (work.kept_position[b] == x) found = b;
  }
  return found;
}

// Rate byte of the counted beat detected at image position x, or 0; such a beat also sets
// TimeStep from its interval.
std::uint8_t BeatRateAt(const TEKG& ekg, const DecodeWork& work, BeatRateLookup lookup, int x) {
  const int b = lookup == BeatRateLookup::kIndexed ? work.kept_at[x] : counted_beat_by_scan(ekg, work, x);
  if (b == 0) return 0;
  TimeStep = time_step_for(work.kept_interval[b]);
  return static_cast<std::uint8_t>(rounded(ekg.BeatRate[b]));
}

// Kept positions strictly increase (each beat is detected past the one before), so each
// position names at most one beat.
void index_counted_beats(const TEKG& ekg, DecodeWork& work) {
  for (int b = 1; b <= ekg.BeatCount; ++b) work.kept_at[work.kept_position[b]] = static_cast<std::uint16_t>(b);
}

// Bytes a code at image position x takes away from the page's sample count (every byte of a
// code is counted as a sample when it is copied, so a whole code nets out to zero).
int code_bytes_at(const TEKG& ekg, int x, float& page_time) {
  switch (ekg.Image[x]) {
    case kCodeSkip251:
    case kCodePace:
      return 1;
    case kCodeRateMarker:
    case kCodeEvent:
      return 2;
    case kCodeStartRecord:
      if (ekg.Image[x + 1] == 0) {
        page_time = 0.0f;
        return 4;
      }
      return 1;
    default:
      return 0;
  }
}

// Writes one byte to a page; a page is cut at its 300th byte.
void put_page_byte(TEKG& ekg, int page, int column, std::uint8_t value) {
  if (column >= 1 && column <= kPageBytes) ekg.Pages[page][column] = value;
}

// Pass 4: copies the samples into pages of 180 samples with beat marks 254 r and the end
// mark 254 255, and records each page's start, time step and start time.
void build_pages(TEKG& ekg, const DecodeWork& work, BeatRateLookup lookup) {
  int page = 1;
  int column = 1;
  int samples = 1;  // so page 1 holds 179 samples
  float time = 0.0f;
  ekg.PageRate[1] = TimeStep;
  ekg.PageTime[1] = 0.0f;
  for (int x = 1; x < kScanEnd && page < kLastFullPage; ++x) {
    samples -= code_bytes_at(ekg, x, time);
    const std::uint8_t rate = BeatRateAt(ekg, work, lookup, x);
    time += TimeStep;
    if (rate > 0) {
      put_page_byte(ekg, page, column, kCodeEvent);
      put_page_byte(ekg, page, column + 1, rate);
      column += 2;
    }
    if (samples >= kPageSamples) {
      ekg.PageRate[page + 1] = TimeStep;
      ekg.PageTime[page + 1] = time;
      ekg.PageStartBlock[page] = static_cast<std::uint16_t>(x / 128);
      put_page_byte(ekg, page, column, kCodeEvent);
      put_page_byte(ekg, page, column + 1, kEndMarkArgument);
      page += 1;
      column = 1;
      samples = 0;
    }
    put_page_byte(ekg, page, column, ekg.Image[x]);
    column += 1;
    samples += 1;
  }
}

// Byte of the current page at a column; a column past the page's end reads as the end mark's
// argument, so a code in the last column ends the page instead of reading past it.
std::uint8_t page_byte(const TEKG& ekg, int column) {
  return column <= kPageBytes ? ekg.Pages[ekg.CurPage][column] : kEndMarkArgument;
}

// Consumes the code at the page reader's column. Returns false when the page ends there.
bool consume_page_code(TEKG& ekg) {
  const int column = ekg.ReadPos;
  switch (page_byte(ekg, column)) {
    case kCodeSkip251:
      ekg.ReadPos += 1;
      return true;
    case kCodeRateMarker:
      ekg.ReadPos += 2;
      return true;
    case kCodePace:
      ekg.ReadPos += 1;
      ekg.SawCode253 = true;
      return true;
    case kCodeEvent: {
      if (column + 1 > kPageBytes) return false;  // the argument is missing: end of the page
      const std::uint8_t argument = page_byte(ekg, column + 1);
      if (argument == kEndMarkArgument) return false;
      if (argument == 0) {
        ekg.SawCode254 = true;
      } else {
        ekg.PageBeatValue = argument;
        ekg.PageBeatSeen = true;
      }
      ekg.ReadPos += 2;
      return true;
    }
    case kCodeStartRecord:
      if (column + 1 > kPageBytes) return false;  // the look-ahead byte is missing
      if (page_byte(ekg, column + 1) == 0) {
        ekg.ReadPos += 4;
        ekg.SawStartRecord = true;
      } else {
        ekg.ReadPos += 1;
      }
      return true;
    default:
      return true;
  }
}

std::uint8_t end_of_page(TEKG& ekg) {
  ekg.PageEnd = true;
  return 0;
}

bool column_on_page(int column) { return column >= 1 && column <= kPageBytes; }

}  // namespace

std::uint8_t ModeInterval(const std::array<std::uint8_t, 7>& estimates) {
  std::array<int, 16> bins{};
  for (const std::uint8_t v : estimates) {
    if (v >= 4 && v <= 31) bins[v / 2] += 1;
  }
  int best = 0;
  int best_count = 0;
  for (int bin = 2; bin <= 15; ++bin) {
    if (bins[bin] > best_count) {
      best = bin;
      best_count = bins[bin];
    }
  }
  return best_count > 0 ? static_cast<std::uint8_t>(2 * best) : 2;
}

DetectorState detector_state() { return g_detector; }
void set_detector_state(const DetectorState& state) { g_detector = state; }
void reset_decoder_state() { g_detector = DetectorState{}; }

DecodeResult decode_recording(TEKG& ekg, BeatRateLookup lookup) {
  auto work = std::make_unique<DecodeWork>();
  detect_beats(ekg, *work);
  rate_beats(ekg, *work);
  filter_beats(ekg, *work);
  if (lookup == BeatRateLookup::kIndexed) index_counted_beats(ekg, *work);
  build_pages(ekg, *work, lookup);

  DecodeResult result;
  result.kept_positions.assign(work->kept_position.begin() + 1, work->kept_position.begin() + 1 + work->kept_count);
  return result;
}

void DecodeRecording(TEKG& ekg) { decode_recording(ekg); }

int CountMeasurements(const TEKG& ekg) {
  int count = 0;
  for (int j = 1; j <= kScanEnd; ++j) {
    if (ekg.Image[j] == kCodeStartRecord && ekg.Image[j + 1] == 0 && ekg.Image[j + 2] == kCodeStartRecord &&
        ekg.Image[j + 3] == 0) {
      count += 1;
    }
  }
  return count;
}

std::uint8_t NextPageSample(TEKG& ekg) {
  ekg.ReadPos += 1;
  if (ekg.CurPage < 1 || ekg.CurPage > kPageCount) return end_of_page(ekg);
  for (;;) {
    if (!column_on_page(ekg.ReadPos)) return end_of_page(ekg);
    if (!consume_page_code(ekg)) return end_of_page(ekg);
    if (!(ekg.ReadPos < kPageCodeLimit && page_byte(ekg, ekg.ReadPos) >= kFirstCode)) break;
  }
  if (!column_on_page(ekg.ReadPos)) return end_of_page(ekg);
  return ekg.Pages[ekg.CurPage][ekg.ReadPos];
}

}  // namespace pulvitra
