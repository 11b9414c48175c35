// The one place where buffers sized by file data are obtained. Sizes come
// through the checked helpers, so a product that does not fit in size_t (32
// bits in the DLL) is refused before anything is allocated, and a request
// above kMaxBufferBytes is refused as too large rather than attempted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "platform/exception.h"

namespace pelo {

// Largest single buffer the module will allocate for data described by a
// file: the body of a 4096 x 4096 document with eight 24-bit layers takes
// 384 MiB, and must still open in the 32-bit DLL.
inline constexpr std::size_t kMaxBufferBytes = std::size_t{512} << 20;

// a * b into *out; false when the product does not fit in size_t.
bool CheckedMul(std::size_t a, std::size_t b, std::size_t* out);
// a * b * c into *out; false on overflow.
bool CheckedMul3(std::size_t a, std::size_t b, std::size_t c, std::size_t* out);

// Allocates count bytes, contents undefined. Raises CMemoryException when
// count exceeds kMaxBufferBytes, when the heap is exhausted, or when a test
// made this allocation fail.
std::unique_ptr<std::uint8_t[]> AllocateBytes(std::size_t count);
// AllocateBytes with every byte 0.
std::unique_ptr<std::uint8_t[]> AllocateZeroedBytes(std::size_t count);

// AllocateBytes for a buffer that other objects come to share (a body whose
// layers keep it alive). Large ones come from their own mapping
// (platform/large_block.h).
std::shared_ptr<std::uint8_t[]> AllocateSharedBytes(std::size_t count);

// Every check and charge of an allocation of count bytes, with the same
// exceptions, but no memory: for the allocators that get their memory
// elsewhere (arrays of objects, large blocks).
void ReserveBytes(std::size_t count);

// A short-lived buffer for bytes whose amount a charged buffer already
// bounds (the compressed input of a body being inflated), for a caller that
// has another way when it cannot be had: null above kMaxBufferBytes or when
// the heap is exhausted. Never charged to a budget nor failed by the test
// hook, so that taking the faster way changes no limit.
std::unique_ptr<std::uint8_t[]> TryAllocateScratchBytes(std::size_t count);

// count values of T, checked and charged exactly as AllocateBytes does;
// contents undefined.
template <class T>
std::unique_ptr<T[]> AllocateArray(std::size_t count) {
  std::size_t bytes = 0;
  if (!CheckedMul(count, sizeof(T), &bytes)) throw CMemoryException();
  ReserveBytes(bytes);
  std::unique_ptr<T[]> values(new (std::nothrow) T[count == 0 ? 1 : count]);
  if (!values) throw CMemoryException();
  return values;
}

// What one call (a picture's information or the picture itself) may
// allocate, all its buffers and item objects together. The 32-bit host has 2
// GiB of address space for itself, its other pictures and the copy of ours
// it usually makes: half of it is the most a plug-in may take. It holds the
// largest document that must open (a 384 MiB body read in place and its 48
// MiB picture) with room for a floating selection beside it.
inline constexpr std::size_t kMaxCallBytes = std::size_t{1} << 30;

// How much the records of one current-format body may make besides the
// pixels they hold in place: floating selections, layers that a short pixel
// record fills in part, item objects, palettes, byte maps. kLoadBudgetFactor
// times the inflated body size plus kLoadBudgetMargin, within the call's
// limit. None of these is ever drawn, and an honest body describes each one
// record by record: a selection fully marked costs 2.5 times its mask and
// pixel records (its mask, two pixel buffers and the payload read into
// them), so an honest file stays below the factor unless a large, mostly
// empty selection fills it, which is then dropped; the margin holds the few
// small items. A small file can then make only its picture large.
inline constexpr std::size_t kLoadBudgetFactor = 4;
inline constexpr std::size_t kLoadBudgetMargin = std::size_t{32} << 20;

// The budget of a body of bodyBytes bytes; saturates at the largest size_t.
std::size_t LoadBudgetFor(std::uint64_t bodyBytes);

// While one is open, every allocation of this thread through AllocateBytes,
// the palette's entry arrays and ChargeAllocation counts against it, and one
// that would pass the limit raises CMemoryException instead. Charges are
// never given back: the total also bounds the work of filling the buffers.
// Budgets nest; an allocation is charged to every open one.
class AllocationBudget {
 public:
  explicit AllocationBudget(std::size_t limit);
  ~AllocationBudget();
  AllocationBudget(const AllocationBudget&) = delete;
  AllocationBudget& operator=(const AllocationBudget&) = delete;

  std::size_t used() const { return used_; }
  std::size_t limit() const { return limit_; }

 private:
  friend void ChargeAllocation(std::size_t count);
  AllocationBudget* outer_;
  std::size_t limit_;
  std::size_t used_ = 0;
};

// Counts count bytes against the open budgets of this thread; raises
// CMemoryException, charging nothing, when one of them would be passed.
// Item objects made for records call it with their own size.
void ChargeAllocation(std::size_t count);

// Test hook: the n-th allocation from now (1 = the next one) through
// AllocateBytes or the movable local blocks fails; 0 disables it. Counted
// per thread.
void FailAllocationAt(long n);
// True when the hook says the current allocation must fail.
bool AllocationShouldFail();

}  // namespace pelo
