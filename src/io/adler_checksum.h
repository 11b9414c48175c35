// The checksum that ends a zlib stream, computed apart from the inflate so
// that it can run many bytes per step where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelo {

constexpr std::uint32_t kAdlerStart = 1;

// adler continued over size bytes at data; the same value as zlib's
// adler32(), by the fastest form the processor supports.
std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t size);

struct AdlerForm {
  const char* name;
  std::uint32_t (*run)(std::uint32_t adler, const std::uint8_t* data, std::size_t size);
  bool (*supported)();
};

// Every form compiled into this build, fastest first; the last, zlib's own,
// runs everywhere. The tests hold each to zlib's values.
std::span<const AdlerForm> AllAdlerForms();

}  // namespace pelo
