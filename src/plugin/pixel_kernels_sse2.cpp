// Sixteen pixels per step with SSE2, which every processor that runs the
// 32-bit module has. Built for x86 only.
#include "platform/processor.h"
#include "plugin/pixel_kernels.h"

#ifdef PELO_SSE2_FORMS

#include <emmintrin.h>

#include <array>
#include <cstring>

#define PELO_SSE2 __attribute__((target("sse2")))

namespace pelo {

namespace {

// Byte i of entry b is 0xFF when bit i of b is set: a movemask turned back
// into a byte mask, eight bytes at a time.
constexpr std::array<std::uint64_t, 256> kBitBytes = [] {
  std::array<std::uint64_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b)
    for (unsigned i = 0; i < 8; ++i)
      if (b & (1u << i)) table[b] |= std::uint64_t{0xFF} << (8 * i);
  return table;
}();

PELO_SSE2 __m128i MaskOfBits(unsigned bits) {
  return _mm_set_epi64x(static_cast<long long>(kBitBytes[(bits >> 8) & 0xFF]),
                        static_cast<long long>(kBitBytes[bits & 0xFF]));
}

PELO_SSE2 __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

PELO_SSE2 void Store(std::uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// clear marks the destination bytes kept.
PELO_SSE2 void Blend(std::uint8_t* dest, __m128i source, __m128i clear) {
  Store(dest, _mm_or_si128(_mm_and_si128(clear, Load(dest)), _mm_andnot_si128(clear, source)));
}

// The bytes of a step that are transparent, as 0xFF.
struct KeyedClear {
  __m128i keys;
  PELO_SSE2 __m128i operator()(__m128i s) const { return _mm_cmpeq_epi8(s, keys); }
};

struct NibbleClear {
  __m128i nibbles;
  PELO_SSE2 __m128i operator()(__m128i s) const {
    return _mm_cmpeq_epi8(_mm_and_si128(s, nibbles), _mm_setzero_si128());
  }
};

// Steps of sixteen pixels; the last step overlaps the one before it when
// the width is not a multiple of sixteen, which is harmless because drawing
// a pixel twice gives what drawing it once does. Every step blends: flat
// areas come in runs too short for branches on the step's content to be
// predicted well. Rows narrower than a step are left to the caller.
template <typename Clear>
PELO_SSE2 void IndexedRow(std::uint8_t* dest, const std::uint8_t* source, int width, Clear clear) {
  for (int x = 0;; x = x + 32 <= width ? x + 16 : width - 16) {
    const __m128i s = Load(source + x);
    Blend(dest + x, s, clear(s));
    if (x + 16 == width) return;
  }
}

PELO_SSE2 void BlitIndexedKeyedSse2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                    int height, const std::uint8_t* source,
                                    std::ptrdiff_t sourceRowLength, std::uint8_t key) {
  if (width < 16)
    return WordPixelKernels().blitIndexedKeyed(dest, destStep, width, height, source,
                                               sourceRowLength, key);
  const KeyedClear clear{_mm_set1_epi8(static_cast<char>(key))};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, clear);
}

PELO_SSE2 void BlitIndexedNibbleSse2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                     int height, const std::uint8_t* source,
                                     std::ptrdiff_t sourceRowLength) {
  if (width < 16)
    return WordPixelKernels().blitIndexedNibble(dest, destStep, width, height, source,
                                                sourceRowLength);
  const NibbleClear clear{_mm_set1_epi8(0x0F)};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, clear);
}

// Bit 3i of a 48-bit mask: the first byte of pixel i of a 16-pixel step.
constexpr std::uint64_t kPixelStarts = 0x249249249249ull;

// The key repeated over 48 bytes, as three vectors.
struct KeyPattern {
  __m128i part[3];
};

PELO_SSE2 KeyPattern MakeKeyPattern(const std::uint8_t key[3]) {
  std::uint8_t bytes[48];
  for (int i = 0; i < 48; ++i) bytes[i] = key[i % 3];
  return {{Load(bytes), Load(bytes + 16), Load(bytes + 32)}};
}

// Sixteen pixels of 24 bits: a pixel is transparent when all three of its
// bytes equal the key's, found from the 48-bit mask of equal bytes.
PELO_SSE2 void Rgb24Step(std::uint8_t* dest, const std::uint8_t* source, const KeyPattern& key) {
  const __m128i s[3] = {Load(source), Load(source + 16), Load(source + 32)};
  const __m128i e[3] = {_mm_cmpeq_epi8(s[0], key.part[0]), _mm_cmpeq_epi8(s[1], key.part[1]),
                        _mm_cmpeq_epi8(s[2], key.part[2])};
  // Most steps of a painted area have no byte equal to the key's at all.
  if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e[0], e[1]), e[2])) == 0) {
    for (int i = 0; i < 3; ++i) Store(dest + 16 * i, s[i]);
    return;
  }
  std::uint64_t equal = 0;
  for (int i = 0; i < 3; ++i)
    equal |= static_cast<std::uint64_t>(_mm_movemask_epi8(e[i])) << (16 * i);
  const std::uint64_t starts = equal & (equal >> 1) & (equal >> 2) & kPixelStarts;
  if (starts == kPixelStarts) return;
  if (starts == 0) {
    for (int i = 0; i < 3; ++i) Store(dest + 16 * i, s[i]);
    return;
  }
  const std::uint64_t clear = starts | (starts << 1) | (starts << 2);
  for (int i = 0; i < 3; ++i)
    Blend(dest + 16 * i, s[i], MaskOfBits(static_cast<unsigned>(clear >> (16 * i)) & 0xFFFF));
}

PELO_SSE2 void BlitRgb24KeyedSse2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                  int height, const std::uint8_t* source,
                                  const std::uint8_t key[3]) {
  if (width < 16)
    return WordPixelKernels().blitRgb24Keyed(dest, destStep, width, height, source, key);
  const KeyPattern pattern = MakeKeyPattern(key);
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 3;
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes)
    for (int x = 0;; x = x + 32 <= width ? x + 16 : width - 16) {
      Rgb24Step(dest + 3 * x, source + 3 * x, pattern);
      if (x + 16 == width) break;
    }
}

// Sixteen bytes per step; the last step of a row overlaps the one before.
PELO_SSE2 void CopyRowsSse2(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes,
                            int height, const std::uint8_t* source) {
  if (rowBytes < 16 || rowBytes > kLibraryCopyRowBytes)
    return WordPixelKernels().copyRows(dest, destStep, rowBytes, height, source);
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes) {
    for (std::size_t x = 0; x + 16 < rowBytes; x += 16) Store(dest + x, Load(source + x));
    Store(dest + rowBytes - 16, Load(source + rowBytes - 16));
  }
}

}  // namespace

const PixelKernels& Sse2PixelKernels() {
  static constexpr PixelKernels kSse2{
      "sse2",       BlitIndexedKeyedSse2, BlitIndexedNibbleSse2, BlitRgb24KeyedSse2,
      CopyRowsSse2, ProcessorHasSse2};
  return kSse2;
}

}  // namespace pelo

#else

namespace pelo {
const PixelKernels& Sse2PixelKernels() {
  static constexpr PixelKernels kAbsent{};
  return kAbsent;
}
}  // namespace pelo

#endif
