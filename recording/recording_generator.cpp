#include "recording/recording_generator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pulvitra {

namespace {

constexpr double kBaseline = 112.0;     // isoelectric line, leaves room for the R wave below 251
constexpr std::uint8_t kHighestSample = 250;
constexpr std::uint8_t kEmptyMemory = 125;
constexpr double kFirstBeatMs = 400.0;
constexpr double kPlanPaddingMs = 2000.0;  // beats planned past the end so the last waves are whole

// splitmix64: a fixed, portable generator (the standard distributions differ between
// library implementations, so the numbers are made here).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double between(double low, double high) { return low + (high - low) * uniform(); }
  // Standard normal (Box-Muller).
  double gauss() {
    const double u = 1.0 - uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * uniform());
  }

 private:
  std::uint64_t state_;
};

// Heart rate over time: knots joined by half cosines (rest, rise, exercise, recovery).
class RatePlan {
 public:
  RatePlan(const GeneratorOptions& options, Random& random, double duration_ms) {
    if (options.rate > 0.0) {
      knots_ = {{0.0, options.rate}, {duration_ms + kPlanPaddingMs, options.rate}};
      return;
    }
    const double low = options.min_rate;
    const double high = options.max_rate;
    const double span = high - low;
    double t = 0.0;
    double rest = low + span * random.between(0.06, 0.18);
    knots_.push_back({t, rest});
    while (t < duration_ms + kPlanPaddingMs) {
      const double exercise = high - span * random.between(0.0, 0.12);
      t += random.between(40e3, 90e3);  // rest
      knots_.push_back({t, rest});
      t += random.between(20e3, 40e3);  // rise
      knots_.push_back({t, exercise});
      t += random.between(30e3, 70e3);  // exercise
      knots_.push_back({t, high - span * random.between(0.0, 0.12)});
      rest = low + span * random.between(0.06, 0.18);
      t += random.between(30e3, 60e3);  // recovery
      knots_.push_back({t, rest});
    }
  }

  double at(double t) const {
    auto after = std::upper_bound(knots_.begin(), knots_.end(), t,
                                  [](double time, const Knot& knot) { return time < knot.time; });
    if (after == knots_.begin()) return knots_.front().rate;
    if (after == knots_.end()) return knots_.back().rate;
    const Knot& before = *(after - 1);
    const double f = (t - before.time) / (after->time - before.time);
    const double smooth = (1.0 - std::cos(std::numbers::pi * f)) / 2.0;
    return before.rate + (after->rate - before.rate) * smooth;
  }

 private:
  struct Knot {
    double time;
    double rate;
  };
  std::vector<Knot> knots_;
};

struct Beat {
  double time_ms;    // R peak
  double period_ms;  // since the previous beat
  double amplitude;  // scale of the QRS complex
};

// One Gaussian wave of the beat model.
double wave(double t, double centre, double width, double height) {
  const double z = (t - centre) / width;
  return height * std::exp(-0.5 * z * z);
}

// The ECG of one beat at time t (ms) from its R peak. P-R stays fixed, Q-T follows the
// period (longer at rest). The P wave is low and wide so the detector's sinking threshold
// does not take it for a beat late in a long period.
double beat_signal(double t, const Beat& beat) {
  const double period_s = beat.period_ms / 1000.0;
  const double qt_scale = std::sqrt(period_s);
  double v = 0.0;
  v += wave(t, -165.0, 28.0, 7.0);                              // P
  v += wave(t, -25.0, 6.0, -12.0) * beat.amplitude;             // Q
  v += wave(t, 0.0, 11.0, 88.0) * beat.amplitude;               // R
  v += wave(t, 30.0, 11.0, -16.0) * beat.amplitude;             // S
  v += wave(t, 290.0 * qt_scale, 55.0 * qt_scale, 19.0);        // T
  return v;
}

std::vector<Beat> plan_beats(const GeneratorOptions& options, Random& random, double duration_ms) {
  const RatePlan plan(options, random, duration_ms);
  const double half_ms = duration_ms / 2.0;
  const bool restart = options.second_measurement && options.rate <= 0.0;
  std::vector<Beat> beats;
  double t = kFirstBeatMs;
  double previous = t - 60000.0 / plan.at(0.0);
  while (t < duration_ms + kPlanPaddingMs) {
    beats.push_back({t, t - previous, std::clamp(1.0 + 0.05 * random.gauss(), 0.85, 1.15)});
    // The second measurement starts at rest again.
    const double plan_time = restart && t >= half_ms ? t - half_ms : t;
    const double breathing = 0.015 * std::sin(2.0 * std::numbers::pi * t / 4200.0);
    double rate = plan.at(plan_time) * (1.0 + breathing + 0.008 * random.gauss());
    rate = std::clamp(rate, options.min_rate, options.max_rate);
    previous = t;
    t += 60000.0 / rate;
  }
  return beats;
}

// A device code to be written directly before a given sample.
struct Code {
  long sample;
  std::vector<std::uint8_t> bytes;
};

std::vector<Code> plan_codes(const GeneratorOptions& options, Random& random, const std::vector<Beat>& beats,
                             long sample_count) {
  const double interval = options.interval_ms;
  auto sample_at = [&](double ms) { return static_cast<long>(std::nearbyint(ms / interval)); };
  std::vector<Code> codes;
  codes.push_back({0, {255, 0, 255, 0}});
  if (options.second_measurement) codes.push_back({sample_count / 2, {255, 0, 255, 0}});
  for (std::size_t i = 0; i < beats.size(); ++i) {
    const Beat& beat = beats[i];
    if (options.pace_every > 0 && i % options.pace_every == 0) codes.push_back({sample_at(beat.time_ms - 60.0), {253}});
    if (options.rate_marker_every > 0 && (i + 1) % options.rate_marker_every == 0) {
      const int rate = std::clamp(static_cast<int>(std::nearbyint(60000.0 / beat.period_ms)), 1, 250);
      codes.push_back({sample_at(beat.time_ms + beat.period_ms / 2.0), {252, static_cast<std::uint8_t>(rate)}});
    }
  }
  if (options.event_every_s > 0.0) {
    const double duration_ms = sample_count * interval;
    for (double t = options.event_every_s * 1000.0 * random.between(0.3, 1.0); t < duration_ms;
         t += options.event_every_s * 1000.0 * random.between(0.5, 1.5)) {
      codes.push_back({sample_at(t), {254, 0}});
    }
  }
  std::stable_sort(codes.begin(), codes.end(), [](const Code& a, const Code& b) { return a.sample < b.sample; });
  return codes;
}

class ImageWriter {
 public:
  explicit ImageWriter(GeneratedRecording& out) : out_(out) {}
  bool full() const { return pos_ >= kImageSize; }
  int next_position() const { return pos_ + 1; }
  // A code that does not fit whole is left out: the recorder never cuts one.
  bool put_code(const std::vector<std::uint8_t>& bytes) {
    if (pos_ + static_cast<int>(bytes.size()) > kImageSize) return false;
    for (std::uint8_t b : bytes) out_.image[pos_++] = b;
    return true;
  }
  void put_sample(std::uint8_t value) {
    if (!full()) out_.image[pos_++] = value;
  }

 private:
  GeneratedRecording& out_;
  int pos_ = 0;
};

double baseline_wander(double t, double phase) {
  return 3.0 * std::sin(2.0 * std::numbers::pi * t / 4200.0 + phase) +
         2.0 * std::sin(2.0 * std::numbers::pi * t / 23000.0 + 2.0 * phase);
}

}  // namespace

GeneratedRecording generate_recording(const GeneratorOptions& options_in) {
  GeneratorOptions options = options_in;
  options.interval_ms = std::clamp(options.interval_ms, 2, 30);
  GeneratedRecording out;
  out.image.fill(kEmptyMemory);

  const long capacity = kImageSize;  // samples, a little more than fit beside the codes
  const long wanted = options.minutes > 0.0 ? static_cast<long>(options.minutes * 60000.0 / options.interval_ms) : capacity;
  const long sample_count = std::min(wanted, capacity);
  const double duration_ms = static_cast<double>(sample_count) * options.interval_ms;

  Random random(options.seed);
  const std::vector<Beat> beats = plan_beats(options, random, duration_ms);
  const std::vector<Code> codes = plan_codes(options, random, beats, sample_count);
  const double wander_phase = random.between(0.0, 2.0 * std::numbers::pi);

  ImageWriter writer(out);
  std::size_t next_code = 0;
  std::size_t first_beat = 0;  // first beat whose waves may still reach the current sample
  std::size_t next_peak = 0;   // next beat whose R peak position is to be noted
  for (long k = 0; k < sample_count && !writer.full(); ++k) {
    while (next_code < codes.size() && codes[next_code].sample <= k) {
      const bool second_start = codes[next_code].bytes.size() == 4 && codes[next_code].sample > 0;
      if (writer.put_code(codes[next_code].bytes) && second_start) out.measurement_starts += 1;
      ++next_code;
    }
    if (writer.full()) break;
    const double t = static_cast<double>(k) * options.interval_ms;
    while (first_beat < beats.size() && beats[first_beat].time_ms < t - 900.0) ++first_beat;
    double v = kBaseline + baseline_wander(t, wander_phase) + options.noise * random.gauss();
    for (std::size_t b = first_beat; b < beats.size() && beats[b].time_ms < t + 400.0; ++b) v += beat_signal(t - beats[b].time_ms, beats[b]);
    while (next_peak < beats.size() && std::nearbyint(beats[next_peak].time_ms / options.interval_ms) <= k) {
      out.beat_positions.push_back(writer.next_position());
      out.beat_rates.push_back(60000.0 / beats[next_peak].period_ms);
      ++next_peak;
    }
    writer.put_sample(static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, double{kHighestSample})));
  }
  return out;
}

void copy_generated_image(const GeneratedRecording& recording, TEKG& ekg) {
  std::copy(recording.image.begin(), recording.image.end(), ekg.Image.begin() + 1);
}

}  // namespace pulvitra
