// Small hand-made recorder images for the decoder tests: a flat line with one-sample spikes
// as beats and device codes put in where the test wants them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "recording/decoder.h"
#include "recording/tekg.h"

namespace pulvitra::test {

inline constexpr std::uint8_t kFlat = 100;
inline constexpr std::uint8_t kSpike = 200;

class ImageBuilder {
 public:
  // Flat samples, then a spike: the spike comes `period` samples after the one before.
  ImageBuilder& beat(int period) {
    for (int i = 1; i < period; ++i) bytes_.push_back(kFlat);
    bytes_.push_back(kSpike);
    spikes_.push_back(static_cast<int>(bytes_.size()));
    return *this;
  }
  ImageBuilder& beats(int count, int period) {
    for (int i = 0; i < count; ++i) beat(period);
    return *this;
  }
  ImageBuilder& code(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  ImageBuilder& flat(int count) {
    bytes_.insert(bytes_.end(), count, kFlat);
    return *this;
  }
  // Image positions of the spikes, in order.
  const std::vector<int>& spikes() const { return spikes_; }

  // The image, flat after the built part.
  std::unique_ptr<TEKG> recording() const {
    auto ekg = std::make_unique<TEKG>();
    clear_recording(*ekg);
    ekg->Image.fill(kFlat);
    for (std::size_t i = 0; i < bytes_.size() && i < kImageSize; ++i) ekg->Image[i + 1] = bytes_[i];
    return ekg;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<int> spikes_;
};

// A detector that has settled on the flat line, so the first spike is a clean beat.
inline void settle_detector(DecoderState& decoder) { decoder.detector = {kFlat, 0}; }

}  // namespace pulvitra::test
