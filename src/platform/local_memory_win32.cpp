#include <windows.h>

#include "platform/allocation.h"
#include "platform/local_memory.h"

namespace pelo {

LocalHandle AllocMovableBlock(std::size_t bytes) {
  if (AllocationShouldFail()) return nullptr;
  return ::LocalAlloc(LMEM_MOVEABLE, bytes);
}

void* LockBlock(LocalHandle block) {
  return block ? ::LocalLock(block) : nullptr;
}
void UnlockBlock(LocalHandle block) {
  if (block) ::LocalUnlock(block);
}
void FreeBlock(LocalHandle block) {
  if (block) ::LocalFree(block);
}
std::size_t BlockSize(LocalHandle block) {
  return block ? ::LocalSize(block) : 0;
}

}  // namespace pelo
