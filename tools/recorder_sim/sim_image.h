// The memory image the simulated recorder serves: the image part of a recording file, or a
// generated recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pulvitra::sim {

// Reads the 32768-byte image of a recording file (the bytes after its 512-byte header).
// On failure returns an empty vector and sets error.
std::vector<std::uint8_t> load_image(const std::string& pul_file, std::string& error);

// The program's standard synthetic recording (the same bytes every time).
std::vector<std::uint8_t> generated_image();

}  // namespace pulvitra::sim
