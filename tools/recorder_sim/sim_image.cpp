#include "tools/recorder_sim/sim_image.h"

#include <fstream>
#include <iterator>

#include "recording/recording_generator.h"
#include "tools/recorder_sim/recorder_model.h"

namespace pulvitra::sim {

namespace {

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kFileBytes = kHeaderBytes + kImageBytes;

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
  const GeneratedRecording recording = generate_recording(GeneratorOptions{});
  return {recording.image.begin(), recording.image.end()};
}

}  // namespace pulvitra::sim
