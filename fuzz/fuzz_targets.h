// The fuzz targets: each takes arbitrary bytes, runs them through one reader of the program
// and checks what must hold afterwards. A broken rule aborts with a message naming it, so the
// fuzzer keeps the input. The same functions serve the libFuzzer executables and the replay of
// tests/regressions/ in the normal test run.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace pulvitra::fuzz {

// Sets up what the targets draw and read with (a GUI application on the offscreen platform,
// the language table, a scratch folder). Call once before the first target.
void init_fuzz_environment(int* argc, char*** argv);

// A recording file loaded as Open loads it, every page walked, the statistics at several
// limits and all views redrawn on images of the screen sizes.
int fuzz_recording_file(const std::uint8_t* data, std::size_t size);

// The bytes as a device image (a first byte as the fixed interval), decoded twice with the
// state carried over from the first decode to the second.
int fuzz_image_decode(const std::uint8_t* data, std::size_t size);

// The bytes as the settings file: read, written back, read again.
int fuzz_settings_file(const std::uint8_t* data, std::size_t size);

// The device test, the rate test and the upload against a port whose replies come from the
// bytes, on a clock the target controls.
int fuzz_recorder_answers(const std::uint8_t* data, std::size_t size);

// Writes the bytes to a file of the scratch folder and returns its path: the readers under
// test take a path, as the program's own open and start do.
QString scratch_file(const char* name, const std::uint8_t* data, std::size_t size);

// Stops with the rule's text when a rule does not hold; works in every build type.
void require(bool holds, const char* rule);

}  // namespace pulvitra::fuzz
