// Bytes held on the C heap by the whole process, and their peak: the
// benchmark replaces malloc and its relatives, so blocks taken by the
// module, by zlib inside it and by operator new are all counted, and so
// are the anonymous mappings the module makes for its large buffers.
#pragma once

#include <cstdint>

namespace pelo::bench {

class HeapCounter {
 public:
  static std::int64_t Current();
  static std::int64_t Peak();
  // Starts a new peak at the bytes held now.
  static void ResetPeak();
};

}  // namespace pelo::bench
