#include "recording/decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "recording/device_codes.h"

namespace pulvitra {

namespace {

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

// Working storage of one decode; value-initialised, so every decode starts from zeros.
struct DecodeWork {
  std::array<std::uint16_t, kEventSlots + 1> events;
  int event_count;
  std::uint16_t rate_marker;
  std::array<std::uint16_t, kBeatSlots + 1> beat_position;
  // Pass 2: the interval estimate from each entry, for the rate value m tagged as m + 1.
  std::array<std::uint8_t, kEventSlots + 1> estimate;
  std::array<std::uint16_t, kEventSlots + 1> estimate_tag;
  int beat_numbers;  // highest beat number pass 2 writes
  // Pass 2, by beat number.
  std::array<std::uint8_t, kBeatSlots + 1> interval;
  std::array<float, kBeatSlots + 1> rate;
  std::array<std::uint16_t, kBeatSlots + 1> position;
  std::array<std::uint8_t, kBeatSlots + 1> flags;
  // Pass 3, indexed like BeatRate.
  std::array<std::uint16_t, kBeatSlots + 1> kept_position;
  std::array<std::uint8_t, kBeatSlots + 1> kept_interval;
  int kept_count;
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

// Image bytes the device code at image position pos takes, the code itself included.
int image_code_length(const TEKG& ekg, int pos) {
  switch (ekg.Image[pos]) {
    case kCodeRateMarker:
    case kCodeEvent:
      return 2;
    case kCodeStartRecord:
      return ekg.Image[pos + 1] == 0 ? 4 : 1;
    default:  // 251, 253
      return 1;
  }
}

// Consumes the device code at image position pos and returns the position after it.
int consume_image_code(const TEKG& ekg, DecodeWork& work, DeviceMarks& marks, int pos) {
  switch (ekg.Image[pos]) {
    case kCodeRateMarker: {
      const auto marker = static_cast<std::uint16_t>(kRateMarkerBase + ekg.Image[pos + 1]);
      append_event(work, marker);
      work.rate_marker = marker;
      break;
    }
    case kCodeEvent:
      marks.SawCode254 = true;
      break;
    case kCodeStartRecord:
      if (ekg.Image[pos + 1] == 0) marks.SawStartRecord = true;
      break;
    default:
      break;
  }
  return pos + image_code_length(ekg, pos);
}

// The image reader: moves pos to the next sample, letting consume take the codes before it
// (consume returns the position after a code), and returns that sample. pos starts below
// kScanEnd and codes are chained only up to kScanEnd, so the reader never looks past position
// kScanEnd + 4 (inside the image).
template <class Consume>
inline std::uint8_t NextImageSample(const TEKG& ekg, int& pos, Consume consume) {
  pos += 1;
  if (ekg.Image[pos] >= kFirstCode) {
    do {
      pos = consume(pos);
    } while (ekg.Image[pos] >= kFirstCode && pos <= kScanEnd);
  }
  return ekg.Image[pos];
}

// Pass 1: beat detection with a running average and a threshold that sinks with the time
// since the last candidate. The running values are worked on in locals and stored back at
// the end. Returns the image position the reader stopped at.
int detect_beats(TEKG& ekg, DetectorState& detector, DeviceMarks& marks, DecodeWork& work) {
  ekg.BeatCount = 0;
  work.event_count = 0;
  work.rate_marker = 1;
  std::uint8_t event_bits = 0;
  ekg.BeatFlags.fill(0);
  unsigned average = detector.running_average;      // a, a byte
  std::uint16_t since = detector.samples_since_candidate;  // n
  int pos = 0;
  do {
    since += 1;
    const std::uint8_t b = NextImageSample(ekg, pos, [&](int p) { return consume_image_code(ekg, work, marks, p); });
    average = (3 * average + b) / 4;  // stays within a byte
    // b > (a + 20) - n / 6, multiplied out by 6 to stay exact in integers.
    if (6 * (b - static_cast<int>(average) - 20) + since > 0 && since > 4) {
      if (marks.SawStartRecord) event_bits |= kFlagStartRecord;
      if (marks.SawCode254) event_bits |= kFlagCode254;
      marks = {};
      if (b > static_cast<int>(average) + 5) {
        // A beat that no longer fits the sequence is not counted either, so beat numbers
        // and sequence entries stay in step.
        if (append_event(work, since)) {
          ekg.BeatCount += 1;
          work.beat_position[work.event_count] = static_cast<std::uint16_t>(pos);
          ekg.BeatFlags[work.event_count] = event_bits;
        }
        event_bits = 0;
      }
      since = 0;
    }
  } while (pos < kScanEnd && work.event_count <= kEventStopLength);
  append_event(work, work.rate_marker);
  detector = {static_cast<std::uint8_t>(average), since};
  return pos;
}

// One estimate of the sample interval: twice rounded((30000 / m) / period), low eight bits.
// Each entry serves the seven beats after it, mostly with the same m, so it is kept.
std::uint8_t estimate_from(DecodeWork& work, int idx, int m) {
  const auto tag = static_cast<std::uint16_t>(m + 1);
  if (work.estimate_tag[idx] != tag) {
    const int half = rounded((30000.0 / m) / work.events[idx]);  // at most 30000
    work.estimate[idx] = static_cast<std::uint8_t>((2 * half) & 0xFF);
    work.estimate_tag[idx] = tag;
  }
  return work.estimate[idx];
}

// Seven estimates of the sample interval from the periods before entry i and the rate
// markers around them; m is the rate value in force and is updated on the way.
std::array<std::uint8_t, 7> interval_estimates(DecodeWork& work, int i, int& m) {
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
    estimates[k - 1] = estimate_from(work, idx, m);
  }
  return estimates;
}

// Pass 2 (backwards through the sequence): interval and rate of every beat.
void rate_beats(TEKG& ekg, std::uint8_t fixed_interval, DecodeWork& work) {
  // The first entry read is the closing pseudo-entry, which sets m again when it is a marker.
  int m = work.rate_marker >= kRateMarkerBase ? work.rate_marker - kRateMarkerBase : work.rate_marker;
  work.beat_numbers = ekg.BeatCount;
  for (int i = work.event_count; i >= 1; --i) {
    const std::uint16_t entry = work.events[i];
    if (entry >= kRateMarkerBase) {
      m = entry - kRateMarkerBase;
      continue;
    }
    const auto estimates = interval_estimates(work, i, m);
    const std::uint8_t interval = fixed_interval == 0 ? ModeInterval(estimates) : fixed_interval;
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
// Returns the time step of the first kept beat's interval.
std::uint8_t filter_beats(TEKG& ekg, DecodeWork& work) {
  ekg.BeatFlags.fill(0);
  ekg.BeatRate.fill(0.0f);
  int kept = 0;
  std::uint8_t carried = 0;
  // Beat numbers past those pass 2 wrote hold rate 0 and no bits: never kept.
  const int last = std::min(kLastFilteredBeat, work.beat_numbers);
  for (int e = 2; e <= last; ++e) {
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
  return time_step_for(work.kept_interval[1]);
}

// Counted beat by the image position it was detected at: the scan over all counted beats.
class CountedBeatScan {
 public:
  CountedBeatScan(const DecodeWork& work, int counted) : positions_(work.kept_position.data()), counted_(counted) {}

  // The scan knows nothing ahead: every position is asked for.
  int next_position() const { return 0; }

  int find(int x) const {
    int found = 0;
    for (int b = 1; b <= counted_; ++b) {
      if (positions_[b] == x) found = b;
    }
    return found;
  }

 private:
  const std::uint16_t* positions_;
  int counted_;
};

// The same by an index: kept positions strictly increase (each beat is detected past the
// one before), so a position names at most one beat. The pages ask position after position,
// so the index is a cursor on the next counted beat; asking out of that order puts the
// cursor again by a binary search.
class CountedBeatIndex {
 public:
  CountedBeatIndex(const DecodeWork& work, int counted) : positions_(work.kept_position.data()), counted_(counted) {
    seek(1);
  }

  // Image position of the next counted beat not yet found.
  int next_position() const { return next_position_; }

  int find(int x) {
    if (x != next_position_) {
      if (x <= last_asked_ || x > next_position_) seek(x);
      last_asked_ = x;
      if (x != next_position_) return 0;
    }
    last_asked_ = x;
    const int found = next_;
    next_ += 1;
    next_position_ = next_ <= counted_ ? positions_[next_] : kNoPosition;
    return found;
  }

 private:
  static constexpr int kNoPosition = 1 << 30;

  // Puts the cursor on the first counted beat at x or later.
  void seek(int x) {
    next_ = static_cast<int>(std::lower_bound(positions_ + 1, positions_ + counted_ + 1, x) - positions_);
    next_position_ = next_ <= counted_ ? positions_[next_] : kNoPosition;
  }

  const std::uint16_t* positions_;
  int counted_;
  int next_ = 1;
  int next_position_ = kNoPosition;
  int last_asked_ = 0;
};

// Rate byte of the counted beat detected at image position x, or 0; such a beat also sets
// the time step from its interval.
template <class Lookup>
inline std::uint8_t BeatRateAt(const TEKG& ekg, const DecodeWork& work, Lookup& counted, int x,
                               std::uint8_t& time_step) {
  const int b = counted.find(x);
  if (b == 0) return 0;
  time_step = time_step_for(work.kept_interval[b]);
  return static_cast<std::uint8_t>(rounded(ekg.BeatRate[b]));
}

// Bytes a code at image position x takes away from the page's sample count (every byte of a
// code is counted as a sample when it is copied, so a whole code nets out to zero). A start
// record also restarts the page time.
int code_bytes_at(const TEKG& ekg, int x, int& page_time) {
  switch (ekg.Image[x]) {
    case kCodeSkip251:
    case kCodePace:
      return 1;
    case kCodeRateMarker:
    case kCodeEvent:
      return 2;
    case kCodeStartRecord:
      if (ekg.Image[x + 1] == 0) {
        page_time = 0;
        return 4;
      }
      return 1;
    default:
      return 0;
  }
}

// Writes one byte to a page row; a page is cut at its 300th byte.
inline void put_page_byte(std::uint8_t* row, int column, std::uint8_t value) {
  if (column <= kPageBytes) row[column] = value;
}

// Copies image bytes to a page row from a column on; a page is cut at its 300th byte.
void put_page_bytes(std::uint8_t* row, int column, const std::uint8_t* bytes, int count) {
  const int room = kPageBytes + 1 - column;
  if (room > 0) std::memcpy(row + column, bytes, static_cast<std::size_t>(std::min(count, room)));
}

// The first image position from x on that holds a code, or kScanEnd.
int next_code_from(const TEKG& ekg, int x) {
  while (x < kScanEnd && ekg.Image[x] < kFirstCode) ++x;
  return x;
}

// Pass 4: copies the samples into pages of 180 samples with beat marks 254 r and the end
// mark 254 255, and records each page's start, time step and start time. The page time is
// a single-precision sum of whole time steps; it stays below 2^24 (32760 x 255), where
// every such sum is exact, so it is kept as an integer and stored as float.
template <class Lookup>
void build_pages(TEKG& ekg, const DecodeWork& work, std::uint8_t& time_step_io) {
  Lookup counted(work, ekg.BeatCount);  // a local, so the page writes cannot touch it
  clear_pages(ekg);
  std::uint8_t time_step = time_step_io;
  int page = 1;
  int column = 1;
  int samples = 1;  // so page 1 holds 179 samples
  int time = 0;
  std::uint8_t* row = ekg.Pages[1].data();
  ekg.PageRate[1] = time_step;
  ekg.PageTime[1] = 0.0f;
  int next_code = next_code_from(ekg, 1);
  for (int x = 1; x < kScanEnd && page < kLastFullPage;) {
    if (next_code < x) next_code = next_code_from(ekg, x);
    // Plain samples before the next code, the next beat and the end of the page are copied
    // in one go; the step below would do the same to each of them.
    const int plain = std::min({next_code, counted.next_position(), kScanEnd}) - x;
    const int run = std::min(plain, kPageSamples - samples);
    if (run > 0) {
      put_page_bytes(row, column, &ekg.Image[x], run);
      column += run;
      samples += run;
      time += run * time_step;
      x += run;
      continue;
    }

    const std::uint8_t c = ekg.Image[x];
    if (c >= kFirstCode) samples -= code_bytes_at(ekg, x, time);
    const std::uint8_t rate = BeatRateAt(ekg, work, counted, x, time_step);
    time += time_step;
    if (rate > 0) {
      put_page_byte(row, column, kCodeEvent);
      put_page_byte(row, column + 1, rate);
      column += 2;
    }
    if (samples >= kPageSamples) {
      ekg.PageRate[page + 1] = time_step;
      ekg.PageTime[page + 1] = static_cast<float>(time);
      ekg.PageStartBlock[page] = static_cast<std::uint16_t>(x / 128);
      put_page_byte(row, column, kCodeEvent);
      put_page_byte(row, column + 1, kEndMarkArgument);
      page += 1;
      row = ekg.Pages[page].data();
      column = 1;
      samples = 0;
    }
    put_page_byte(row, column, c);
    column += 1;
    samples += 1;
    x += 1;
  }
  time_step_io = time_step;
}

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


DecodeResult decode_recording(TEKG& ekg, DecoderState& state, BeatRateLookup lookup) {
  auto work = std::make_unique<DecodeWork>();
  const int end_position = detect_beats(ekg, state.detector, state.marks, *work);
  rate_beats(ekg, state.FixedInterval, *work);
  state.TimeStep = filter_beats(ekg, *work);
  if (lookup == BeatRateLookup::kIndexed) {
    build_pages<CountedBeatIndex>(ekg, *work, state.TimeStep);
  } else {
    build_pages<CountedBeatScan>(ekg, *work, state.TimeStep);
  }

  DecodeResult result;
  result.end_position = static_cast<std::uint16_t>(end_position);
  result.kept_positions.assign(work->kept_position.begin() + 1, work->kept_position.begin() + 1 + work->kept_count);
  result.kept_intervals.assign(work->kept_interval.begin() + 1, work->kept_interval.begin() + 1 + work->kept_count);
  state.last_decode = result;
  return result;
}

void DecodeRecording(TEKG& ekg, DecoderState& state) { decode_recording(ekg, state); }

ImageSamples read_image_samples(const TEKG& ekg) {
  ImageSamples samples;
  samples.values.reserve(kLastSamplePosition);
  samples.positions.reserve(kLastSamplePosition);
  int pos = 0;
  while (pos < kLastSamplePosition) {
    const std::uint8_t b = NextImageSample(ekg, pos, [&](int p) { return p + image_code_length(ekg, p); });
    if (pos > kLastSamplePosition) break;
    samples.values.push_back(b);
    samples.positions.push_back(static_cast<std::uint16_t>(pos));
  }
  return samples;
}

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

}  // namespace pulvitra
