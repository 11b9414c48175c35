// The pixel operations of the bitmap builder. Each writes width pixels
// of height rows starting at dest, stepping destStep bytes from one picture
// row to the next (negative for a bottom-up bitmap), never touching a row's
// padding, and does nothing for a width or height of 0 or less.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelo {

// Copies each source byte unless it equals key.
void BlitIndexedKeyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                      const std::uint8_t* source, std::ptrdiff_t sourceRowLength, std::uint8_t key);
// Copies each source byte unless its low four bits are all zero.
void BlitIndexedNibble(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                       const std::uint8_t* source, std::ptrdiff_t sourceRowLength);
// Writes color (blue, green, red) to every pixel.
void FillRgb24(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
               const std::uint8_t color[3]);
// Copies height rows of rowBytes bytes each; source rows have no gap.
void CopyRows(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes, int height,
              const std::uint8_t* source);
// Copies each 3-byte source pixel unless all three bytes equal key's; source
// rows are width * 3 bytes with no gap.
void BlitRgb24Keyed(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                    const std::uint8_t* source, const std::uint8_t key[3]);

}  // namespace pelo
