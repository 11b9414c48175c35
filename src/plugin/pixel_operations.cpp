#include "plugin/pixel_operations.h"

#include <algorithm>
#include <cstring>

#include "plugin/pixel_kernels.h"

namespace pelo {

void BlitIndexedKeyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                      const std::uint8_t* source, std::ptrdiff_t sourceRowLength,
                      std::uint8_t key) {
  if (width <= 0 || height <= 0) return;
  ActivePixelKernels().blitIndexedKeyed(dest, destStep, width, height, source, sourceRowLength,
                                        key);
}

void BlitIndexedNibble(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                       const std::uint8_t* source, std::ptrdiff_t sourceRowLength) {
  if (width <= 0 || height <= 0) return;
  ActivePixelKernels().blitIndexedNibble(dest, destStep, width, height, source, sourceRowLength);
}

void CopyRows(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes, int height,
              const std::uint8_t* source) {
  if (rowBytes == 0 || height <= 0) return;
  ActivePixelKernels().copyRows(dest, destStep, rowBytes, height, source);
}

// The first row is the colour copied forward in doubling blocks; every
// other row is a copy of the first.
void FillRgb24(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
               const std::uint8_t color[3]) {
  if (width <= 0 || height <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  std::memcpy(dest, color, 3);
  for (std::size_t done = 3; done < rowBytes; done *= 2)
    std::memcpy(dest + done, dest, std::min(done, rowBytes - done));
  const std::uint8_t* first = dest;
  for (int y = 1; y < height; ++y) std::memcpy(dest += destStep, first, rowBytes);
}

void BlitRgb24Keyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                    const std::uint8_t* source, const std::uint8_t key[3]) {
  if (width <= 0 || height <= 0) return;
  ActivePixelKernels().blitRgb24Keyed(dest, destStep, width, height, source, key);
}

}  // namespace pelo
