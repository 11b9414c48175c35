// Movable blocks of the local heap, the memory that the host receives and
// frees. On Windows these are LocalAlloc(LMEM_MOVEABLE), LocalLock,
// LocalUnlock, LocalFree and LocalSize; elsewhere our own blocks with the
// same rules (a block of 0 bytes is allocated discarded and cannot be locked).
#pragma once

#include <cstddef>

namespace pelo {

using LocalHandle = void*;

LocalHandle AllocMovableBlock(std::size_t bytes);  // null on failure
void* LockBlock(LocalHandle block);                // null when it cannot be locked
void UnlockBlock(LocalHandle block);
void FreeBlock(LocalHandle block);  // null is accepted and ignored
std::size_t BlockSize(LocalHandle block);

}  // namespace pelo
