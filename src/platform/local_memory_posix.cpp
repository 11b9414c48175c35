// Our movable blocks: a handle is the address of a small record that holds
// the data pointer, so the data could move between locks as on Windows.
#include <cstdlib>
#include <cstring>

#include "platform/allocation.h"
#include "platform/large_block.h"
#include "platform/local_memory.h"

namespace pelo {

namespace {
struct Block {
  void* data;  // null: discarded (a block of 0 bytes)
  std::size_t size;
  unsigned locks;
};
Block* AsBlock(LocalHandle h) {
  return static_cast<Block*>(h);
}
}  // namespace

LocalHandle AllocMovableBlock(std::size_t bytes) {
  if (AllocationShouldFail()) return nullptr;
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block)));
  if (block == nullptr) return nullptr;
  block->data = nullptr;
  block->size = bytes;
  block->locks = 0;
  if (bytes != 0) {
    block->data = bytes >= kLargeBlockBytes ? AllocateLargeBlock(bytes) : std::malloc(bytes);
    if (block->data == nullptr) {
      std::free(block);
      return nullptr;
    }
  }
  return block;
}

void* LockBlock(LocalHandle h) {
  Block* block = AsBlock(h);
  if (block == nullptr || block->data == nullptr) return nullptr;
  ++block->locks;
  return block->data;
}

void UnlockBlock(LocalHandle h) {
  Block* block = AsBlock(h);
  if (block != nullptr && block->locks > 0) --block->locks;
}

void FreeBlock(LocalHandle h) {
  Block* block = AsBlock(h);
  if (block == nullptr) return;
  if (block->size >= kLargeBlockBytes)
    FreeLargeBlock(block->data, block->size);
  else
    std::free(block->data);
  std::free(block);
}

std::size_t BlockSize(LocalHandle h) {
  Block* block = AsBlock(h);
  return block == nullptr || block->data == nullptr ? 0 : block->size;
}

}  // namespace pelo
