// The one place where buffers sized by file data are obtained. Sizes come
// through the checked helpers, so a product that does not fit in size_t (32
// bits in the DLL) is refused before anything is allocated, and a request
// above kMaxBufferBytes is refused as too large rather than attempted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pelo {

// Largest single buffer the module will allocate for data described by a
// file: a 8192 x 8192 page at 24 bits needs 192 MiB.
inline constexpr std::size_t kMaxBufferBytes = std::size_t{256} << 20;

// a * b into *out; false when the product does not fit in size_t.
bool CheckedMul(std::size_t a, std::size_t b, std::size_t* out);
// a * b * c into *out; false on overflow.
bool CheckedMul3(std::size_t a, std::size_t b, std::size_t c, std::size_t* out);

// Allocates count bytes, contents undefined. Raises CMemoryException when
// count exceeds kMaxBufferBytes, when the heap is exhausted, or when a test
// made this allocation fail.
std::unique_ptr<std::uint8_t[]> AllocateBytes(std::size_t count);

// Test hook: the n-th allocation from now (1 = the next one) through
// AllocateBytes or the movable local blocks fails; 0 disables it. Counted
// per thread.
void FailAllocationAt(long n);
// True when the hook says the current allocation must fail.
bool AllocationShouldFail();

}  // namespace pelo
