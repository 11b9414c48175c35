// The bytes of a picture block that a call handed out, copied before the
// block is freed: what every host does with GetPicture's blocks.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/local_memory.h"

namespace pelo::test {

// Through the given calls of the local heap that the block came from.
template <typename Size, typename Lock, typename Unlock, typename Free>
std::vector<std::uint8_t> CopyOutAndFree(void* block, Size size, Lock lock, Unlock unlock,
                                         Free free) {
  std::vector<std::uint8_t> bytes(size(block));
  const void* p = lock(block);
  if (p != nullptr && !bytes.empty()) std::memcpy(bytes.data(), p, bytes.size());
  unlock(block);
  free(block);
  return bytes;
}

// A block of the core's own local heap (on Windows, the process's).
inline std::vector<std::uint8_t> TakeBlock(LocalHandle block) {
  return CopyOutAndFree(block, BlockSize, LockBlock, UnlockBlock, FreeBlock);
}

}  // namespace pelo::test
