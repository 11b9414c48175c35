// The keyed pixel operations in every form this build has: the operations
// run the first form the processor supports, and the tests hold every form
// to the same per-pixel rule on the same data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelo {

struct PixelKernels {
  const char* name;
  // The operations of the same names in pixel_operations.h, for a width
  // and a height above 0. Source and destination never overlap.
  void (*blitIndexedKeyed)(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                           const std::uint8_t* source, std::ptrdiff_t sourceRowLength,
                           std::uint8_t key);
  void (*blitIndexedNibble)(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                            const std::uint8_t* source, std::ptrdiff_t sourceRowLength);
  void (*blitRgb24Keyed)(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                         const std::uint8_t* source, const std::uint8_t key[3]);
  void (*copyRows)(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes, int height,
                   const std::uint8_t* source);
  bool (*supported)();
};

// Rows longer than this are copied by the C library, which is as fast
// there; shorter ones by vectors, without a call per row.
constexpr std::size_t kLibraryCopyRowBytes = 256;

// Every form compiled into this build, fastest first; the last one, on
// machine words, runs everywhere.
std::span<const PixelKernels> AllPixelKernels();
// The fastest form the processor running us supports, chosen once.
const PixelKernels& ActivePixelKernels();

// The forms, for AllPixelKernels and for each other's narrow rows; an
// entry with a null name is absent from this build.
const PixelKernels& WordPixelKernels();
const PixelKernels& Sse2PixelKernels();
const PixelKernels& Avx2PixelKernels();
const PixelKernels& Avx512PixelKernels();

}  // namespace pelo
