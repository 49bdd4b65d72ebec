#include "tools/recorder_sim/sim_image.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "tools/recorder_sim/recorder_model.h"

namespace pulvitra::sim {

namespace {

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kFileBytes = kHeaderBytes + kImageBytes;

// One heart beat of samples around the baseline 110: P wave, QRS spike, T wave.
std::uint8_t beat_sample(int phase) {
  const double t = phase;
  const double p = 12 * std::exp(-std::pow((t - 20) / 6, 2));
  const double r = 120 * std::exp(-std::pow((t - 50) / 2.5, 2)) - 25 * std::exp(-std::pow((t - 55) / 2, 2));
  const double wave = 25 * std::exp(-std::pow((t - 90) / 10, 2));
  const double value = 110 + p + r + wave;
  return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 250.0));
}

}  // namespace

std::vector<std::uint8_t> load_image(const std::string& pul_file, std::string& error) {
  std::ifstream in(pul_file, std::ios::binary);
  if (!in) {
    error = "cannot open " + pul_file;
    return {};
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() != kFileBytes) {
    error = pul_file + " is not a recording file (" + std::to_string(bytes.size()) + " bytes, expected " +
            std::to_string(kFileBytes) + ")";
    return {};
  }
  return {bytes.begin() + kHeaderBytes, bytes.end()};
}

std::vector<std::uint8_t> generated_image() {
  std::vector<std::uint8_t> image = {255, 0, 255, 0};
  // Beat lengths vary a little, as a heart's do, so the views have something to show.
  const int periods[] = {150, 146, 153, 149, 158, 144, 151};
  int beat = 0;
  while (image.size() < kImageBytes) {
    if (beat % 8 == 0) image.insert(image.end(), {252, 40});
    const int period = periods[beat % std::size(periods)];
    for (int phase = 0; phase < period; ++phase) image.push_back(beat_sample(phase));
    ++beat;
  }
  image.resize(kImageBytes);
  return image;
}

}  // namespace pulvitra::sim
