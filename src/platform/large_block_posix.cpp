#include <sys/mman.h>

#include <cstdint>

#include "platform/large_block.h"

namespace pelo {

namespace {

// The size of a transparent huge page on x86 (and most other systems): a
// mapping gets them only for whole, aligned extents of this size.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

std::size_t MappedLength(std::size_t count) {
  return (count + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
}

void* MapAnonymous(std::size_t length) {
  void* mapped =
      ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return mapped == MAP_FAILED ? nullptr : mapped;
}

bool Aligned(const void* p) {
  return (reinterpret_cast<std::uintptr_t>(p) & (kHugePageBytes - 1)) == 0;
}

// Newer kernels align large anonymous mappings to huge pages themselves;
// elsewhere the block is cut out of a mapping one huge page longer.
void* MapAligned(std::size_t length) {
  void* mapped = MapAnonymous(length);
  if (mapped == nullptr || Aligned(mapped)) return mapped;
  ::munmap(mapped, length);
  auto* start = static_cast<std::uint8_t*>(MapAnonymous(length + kHugePageBytes));
  if (start == nullptr) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(start);
  const std::size_t head = ((address + kHugePageBytes - 1) & ~(kHugePageBytes - 1)) - address;
  if (head > 0) ::munmap(start, head);
  if (head < kHugePageBytes) ::munmap(start + head + length, kHugePageBytes - head);
  return start + head;
}

}  // namespace

// Whole, aligned huge pages, so that every byte of the block can be in one.
void* AllocateLargeBlock(std::size_t count) {
  const std::size_t length = MappedLength(count);
  if (length < count || length + kHugePageBytes < length) return nullptr;
  void* block = MapAligned(length);
#ifdef MADV_HUGEPAGE
  // Only advice: without huge pages the mapping works the same, slower.
  if (block != nullptr) ::madvise(block, length, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* block, std::size_t count) {
  if (block != nullptr) ::munmap(block, MappedLength(count));
}

}  // namespace pelo
