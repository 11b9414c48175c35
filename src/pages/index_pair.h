// Two values that the editor keeps per page; loaded and copied, never read.
#pragma once

#include <cstdint>

namespace pelo {

class CIndexPair {
 public:
  std::int32_t first = -1;
  std::int32_t second = -1;
};

}  // namespace pelo
