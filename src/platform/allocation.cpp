#include "platform/allocation.h"

#include <limits>
#include <new>

#include "platform/exception.h"

namespace pelo {

namespace {
thread_local long failCountdown = 0;
}  // namespace

bool CheckedMul(std::size_t a, std::size_t b, std::size_t* out) {
  if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a) return false;
  *out = a * b;
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

std::unique_ptr<std::uint8_t[]> AllocateBytes(std::size_t count) {
  if (count > kMaxBufferBytes || AllocationShouldFail()) throw CMemoryException();
  std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[count == 0 ? 1 : count]);
  if (!bytes) throw CMemoryException();
  return bytes;
}

}  // namespace pelo
