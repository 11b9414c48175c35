#include "platform/allocation.h"

#include <cstring>
#include <limits>
#include <new>

#include "platform/exception.h"
#include "platform/large_block.h"

namespace pelo {

namespace {
thread_local long failCountdown = 0;
thread_local AllocationBudget* innermostBudget = nullptr;
}  // namespace

std::size_t LoadBudgetFor(std::uint64_t bodyBytes) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::size_t>::max();
  if (bodyBytes > (kMax - kLoadBudgetMargin) / kLoadBudgetFactor) return kMax;
  return static_cast<std::size_t>(bodyBytes * kLoadBudgetFactor + kLoadBudgetMargin);
}

AllocationBudget::AllocationBudget(std::size_t limit) : outer_(innermostBudget), limit_(limit) {
  innermostBudget = this;
}

AllocationBudget::~AllocationBudget() {
  innermostBudget = outer_;
}

void ChargeAllocation(std::size_t count) {
  for (const AllocationBudget* b = innermostBudget; b != nullptr; b = b->outer_)
    if (count > b->limit_ - b->used_) throw CMemoryException();
  for (AllocationBudget* b = innermostBudget; b != nullptr; b = b->outer_) b->used_ += count;
}

// Without a division: the builder checks sizes on every picture.
bool CheckedMul(std::size_t a, std::size_t b, std::size_t* out) {
  std::size_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) return false;
  *out = product;
  return true;
}

bool CheckedMul3(std::size_t a, std::size_t b, std::size_t c, std::size_t* out) {
  std::size_t ab = 0;
  return CheckedMul(a, b, &ab) && CheckedMul(ab, c, out);
}

void FailAllocationAt(long n) {
  failCountdown = n;
}

bool AllocationShouldFail() {
  if (failCountdown <= 0) return false;
  return --failCountdown == 0;
}

void ReserveBytes(std::size_t count) {
  if (count > kMaxBufferBytes || AllocationShouldFail()) throw CMemoryException();
  ChargeAllocation(count);
}

namespace {

std::unique_ptr<std::uint8_t[]> HeapBytes(std::size_t count) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[count == 0 ? 1 : count]);
}

}  // namespace

std::unique_ptr<std::uint8_t[]> AllocateBytes(std::size_t count) {
  ReserveBytes(count);
  std::unique_ptr<std::uint8_t[]> bytes = HeapBytes(count);
  if (!bytes) throw CMemoryException();
  return bytes;
}

std::shared_ptr<std::uint8_t[]> AllocateSharedBytes(std::size_t count) {
  if (count < kLargeBlockBytes) return AllocateBytes(count);
  ReserveBytes(count);
  auto* block = static_cast<std::uint8_t*>(AllocateLargeBlock(count));
  if (block == nullptr) throw CMemoryException();
  return std::shared_ptr<std::uint8_t[]>(
      block, [count](std::uint8_t* bytes) { FreeLargeBlock(bytes, count); });
}

std::unique_ptr<std::uint8_t[]> TryAllocateScratchBytes(std::size_t count) {
  if (count > kMaxBufferBytes) return nullptr;
  return HeapBytes(count);
}

std::unique_ptr<std::uint8_t[]> AllocateZeroedBytes(std::size_t count) {
  std::unique_ptr<std::uint8_t[]> bytes = AllocateBytes(count);
  std::memset(bytes.get(), 0, count);
  return bytes;
}

}  // namespace pelo
