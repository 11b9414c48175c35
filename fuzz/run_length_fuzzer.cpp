#include <cstddef>
#include <cstdint>

#include "support/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pelo::test::FuzzRunLength(data, size);
  return 0;
}
