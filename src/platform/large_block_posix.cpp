#include <sys/mman.h>

#include <cstdint>

#include "platform/large_block.h"

namespace pelo {

namespace {

// The size of a transparent huge page on x86 (and most other systems): a
// mapping gets them only for whole, aligned extents of this size.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kSmallPageBytes = std::size_t{4} << 10;
// The kernel clears a whole huge page on first touch. Measured here, that
// costs as much as faulting in about 120 small pages, so a short tail past
// the last whole huge page (a body is its layers plus a few KiB of
// records) is cheaper in small pages.
constexpr std::size_t kShortestHugeTail = kHugePageBytes / 4;

std::size_t RoundUp(std::size_t count, std::size_t unit) {
  return (count + unit - 1) & ~(unit - 1);
}

// The part of a block of count bytes that asks for huge pages.
std::size_t HugeLength(std::size_t count) {
  const std::size_t whole = count & ~(kHugePageBytes - 1);
  return count - whole < kShortestHugeTail ? whole : RoundUp(count, kHugePageBytes);
}

std::size_t MappedLength(std::size_t count) {
  const std::size_t huge = HugeLength(count);
  return huge >= count ? huge : RoundUp(count, kSmallPageBytes);
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

// Aligned to a huge page, so that every whole huge page of the block can be
// one.
void* AllocateLargeBlock(std::size_t count) {
  const std::size_t length = MappedLength(count);
  if (length < count || length + kHugePageBytes < length) return nullptr;
  void* block = MapAligned(length);
#ifdef MADV_HUGEPAGE
  // Only advice: without huge pages the mapping works the same, slower.
  if (block != nullptr) ::madvise(block, HugeLength(count), MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* block, std::size_t count) {
  if (block != nullptr) ::munmap(block, MappedLength(count));
}

}  // namespace pelo
