#include <sys/mman.h>

#include "platform/large_block.h"

namespace pelo {

void* AllocateLargeBlock(std::size_t count) {
  void* block = ::mmap(nullptr, count, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  // Only advice: without huge pages the mapping works the same, slower.
  ::madvise(block, count, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* block, std::size_t count) {
  if (block != nullptr) ::munmap(block, count);
}

}  // namespace pelo
