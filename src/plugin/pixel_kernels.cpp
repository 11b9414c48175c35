// The portable form, eight pixels per machine word, and the choice of form.
#include "plugin/pixel_kernels.h"

#include <array>
#include <cstring>

#include "platform/processor.h"

namespace pelo {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHigh = 0x8080808080808080ull;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
constexpr std::uint64_t kNibbles = 0x0F0F0F0F0F0F0F0Full;

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

void Store64(std::uint8_t* p, std::uint64_t v) {
  std::memcpy(p, &v, 8);
}

// 0xFF in every byte of the word that is not zero, 0 in the others; exact,
// without the carries of the usual zero-byte test.
std::uint64_t NonZeroBytes(std::uint64_t v) {
  const std::uint64_t high = (((v & kLow7) + kLow7) | v) & kHigh;
  return (high >> 7) * 0xFF;
}

// Draws eight pixels; opaque marks the bytes that are copied.
void Blend64(std::uint8_t* dest, std::uint64_t source, std::uint64_t opaque) {
  if (opaque == 0) return;
  if (opaque == ~std::uint64_t{0}) {
    Store64(dest, source);
    return;
  }
  Store64(dest, (Load64(dest) & ~opaque) | (source & opaque));
}

// Words of eight pixels; the last word overlaps the one before it when the
// width is not a multiple of eight, which is harmless because drawing a
// pixel twice gives what drawing it once does.
template <typename Opaque>
void IndexedRow(std::uint8_t* dest, const std::uint8_t* source, int width, Opaque opaque) {
  if (width < 8) {
    for (int x = 0; x < width; ++x)
      if ((opaque(std::uint64_t{source[x]}) & 0xFF) != 0) dest[x] = source[x];
    return;
  }
  for (int x = 0;; x = x + 16 <= width ? x + 8 : width - 8) {
    const std::uint64_t s = Load64(source + x);
    Blend64(dest + x, s, opaque(s));
    if (x + 8 == width) return;
  }
}

void BlitIndexedKeyedWords(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                           const std::uint8_t* source, std::ptrdiff_t sourceRowLength,
                           std::uint8_t key) {
  const std::uint64_t keys = kOnes * key;
  auto opaque = [keys](std::uint64_t s) { return NonZeroBytes(s ^ keys); };
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, opaque);
}

void BlitIndexedNibbleWords(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                            const std::uint8_t* source, std::ptrdiff_t sourceRowLength) {
  auto opaque = [](std::uint64_t s) { return NonZeroBytes(s & kNibbles); };
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, opaque);
}

void BlitRgb24KeyedWords(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                         const std::uint8_t* source, const std::uint8_t key[3]) {
  for (int y = 0; y < height; ++y, dest += destStep) {
    std::uint8_t* d = dest;
    for (int x = 0; x < width; ++x, d += 3, source += 3)
      if (source[0] != key[0] || source[1] != key[1] || source[2] != key[2])
        std::memcpy(d, source, 3);
  }
}

// A call per row: the fastest way for long rows, and the only one here.
void CopyRowsWords(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes, int height,
                   const std::uint8_t* source) {
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes)
    std::memcpy(dest, source, rowBytes);
}

bool Always() {
  return true;
}

}  // namespace

const PixelKernels& WordPixelKernels() {
  static constexpr PixelKernels kWords{
      "words", BlitIndexedKeyedWords, BlitIndexedNibbleWords, BlitRgb24KeyedWords, CopyRowsWords,
      Always};
  return kWords;
}

std::span<const PixelKernels> AllPixelKernels() {
  static const auto forms = [] {
    std::array<PixelKernels, 4> all{};
    std::size_t count = 0;
    for (const PixelKernels* kernels :
         {&Avx512PixelKernels(), &Avx2PixelKernels(), &Sse2PixelKernels(), &WordPixelKernels()})
      if (kernels->name != nullptr) all[count++] = *kernels;
    return std::pair(all, count);
  }();
  return {forms.first.data(), forms.second};
}

const PixelKernels& ActivePixelKernels() {
  static const PixelKernels& active = FirstSupportedForm(AllPixelKernels());
  return active;
}

}  // namespace pelo
