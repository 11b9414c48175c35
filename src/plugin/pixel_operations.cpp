#include "plugin/pixel_operations.h"

#include <cstring>

namespace pelo {

void BlitIndexedKeyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                      const std::uint8_t* source, std::ptrdiff_t sourceRowLength,
                      std::uint8_t key) {
  if (width <= 0 || height <= 0) return;
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength) {
    for (int x = 0; x < width; ++x) {
      if (source[x] != key) dest[x] = source[x];
    }
  }
}

void BlitIndexedNibble(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                       const std::uint8_t* source, std::ptrdiff_t sourceRowLength) {
  if (width <= 0 || height <= 0) return;
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength) {
    for (int x = 0; x < width; ++x) {
      if ((source[x] & 0x0F) != 0) dest[x] = source[x];
    }
  }
}

void FillRgb24(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
               const std::uint8_t color[3]) {
  if (width <= 0 || height <= 0) return;
  for (int y = 0; y < height; ++y, dest += destStep) {
    for (int x = 0; x < width; ++x) std::memcpy(dest + 3 * x, color, 3);
  }
}

void BlitRgb24Keyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                    const std::uint8_t* source, const std::uint8_t key[3]) {
  if (width <= 0 || height <= 0) return;
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 3;
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = source + 3 * x;
      if (p[0] != key[0] || p[1] != key[1] || p[2] != key[2]) std::memcpy(dest + 3 * x, p, 3);
    }
  }
}

}  // namespace pelo
