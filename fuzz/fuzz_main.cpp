// The libFuzzer entry of one target; the build names the target in PULVITRA_FUZZ_TARGET.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  pulvitra::fuzz::init_fuzz_environment(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return pulvitra::fuzz::PULVITRA_FUZZ_TARGET(data, size);
}
