// Large pages on Windows need the "Lock pages in memory" privilege, which
// a viewer's user seldom holds, and cannot be paged out; fresh pages come
// from the process heap as before.
#include <cstdlib>

#include "platform/large_block.h"

namespace pelo {

void* AllocateLargeBlock(std::size_t count) {
  return std::malloc(count);
}

void FreeLargeBlock(void* block, std::size_t) {
  std::free(block);
}

}  // namespace pelo
