// Memory for buffers of kLargeBlockBytes or more. A host opens each picture
// in fresh memory, and first touching fresh memory in 4 KiB pages costs
// more than inflating into it (about 4 ms per 1 MiB of faults on the
// machines measured, against 0.12 ms with 2 MiB pages). Where the system
// has transparent huge pages on request, such a buffer is a mapping of its
// own that asks for them; elsewhere it comes from the C heap.
#pragma once

#include <cstddef>

namespace pelo {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{4} << 20;

// count bytes (count >= kLargeBlockBytes), zeroed where the memory comes
// from the system fresh; null when it cannot be had.
void* AllocateLargeBlock(std::size_t count);
// A block from AllocateLargeBlock, with the count it was asked for.
void FreeLargeBlock(void* block, std::size_t count);

}  // namespace pelo
