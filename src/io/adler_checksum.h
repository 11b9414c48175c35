// The checksum that ends a zlib stream, computed apart from the inflate so
// that it can run many bytes per step where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelo {

constexpr std::uint32_t kAdlerStart = 1;

// adler continued over size bytes at data; the same value as zlib's
// adler32().
std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t size);

}  // namespace pelo
