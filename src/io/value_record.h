// A 32-bit value with a one-byte flag, as page records store them.
#pragma once

#include <cstdint>

namespace pelo {

class CValueRecord {
 public:
  virtual ~CValueRecord() = default;

  std::uint32_t value = 0;
  std::uint32_t extra = 0;  // never filled from a file
  std::uint8_t flag = 0;
};

}  // namespace pelo
