// Thirty-two pixels per step with AVX2, chosen at run time on processors
// that have it.
#include "platform/processor.h"
#include "plugin/pixel_kernels.h"

#ifdef PELO_AVX2_FORMS

#include <immintrin.h>

#include <cstring>

#define PELO_AVX2 __attribute__((target("avx2")))

namespace pelo {

namespace {

PELO_AVX2 __m256i Load(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

PELO_AVX2 void Store(std::uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// clear marks the destination bytes kept.
PELO_AVX2 void Blend(std::uint8_t* dest, __m256i source, __m256i clear) {
  Store(dest, _mm256_blendv_epi8(source, Load(dest), clear));
}

struct KeyedClear {
  __m256i keys;
  PELO_AVX2 __m256i operator()(__m256i s) const { return _mm256_cmpeq_epi8(s, keys); }
};

struct NibbleClear {
  __m256i nibbles;
  PELO_AVX2 __m256i operator()(__m256i s) const {
    return _mm256_cmpeq_epi8(_mm256_and_si256(s, nibbles), _mm256_setzero_si256());
  }
};

// Steps of 32 pixels; the last one overlaps the one before it when the
// width is not a multiple of 32, harmless since drawing a pixel twice gives
// what drawing it once does. Narrower rows are left to the caller. Every
// step blends: flat areas come in runs too short for branches on the
// step's content to be predicted well.
template <typename Clear>
PELO_AVX2 void IndexedRow(std::uint8_t* dest, const std::uint8_t* source, int width, Clear clear) {
  for (int x = 0;; x = x + 64 <= width ? x + 32 : width - 32) {
    const __m256i s = Load(source + x);
    Blend(dest + x, s, clear(s));
    if (x + 32 == width) return;
  }
}

PELO_AVX2 void BlitIndexedKeyedAvx2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                    int height, const std::uint8_t* source,
                                    std::ptrdiff_t sourceRowLength, std::uint8_t key) {
  if (width < 32)
    return Sse2PixelKernels().blitIndexedKeyed(dest, destStep, width, height, source,
                                               sourceRowLength, key);
  const KeyedClear clear{_mm256_set1_epi8(static_cast<char>(key))};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, clear);
}

PELO_AVX2 void BlitIndexedNibbleAvx2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                     int height, const std::uint8_t* source,
                                     std::ptrdiff_t sourceRowLength) {
  if (width < 32)
    return Sse2PixelKernels().blitIndexedNibble(dest, destStep, width, height, source,
                                                sourceRowLength);
  const NibbleClear clear{_mm256_set1_epi8(0x0F)};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, clear);
}

// Bit 3i of a 48-bit mask: the first byte of pixel i of 16 pixels.
constexpr std::uint64_t kPixelStarts = 0x249249249249ull;

// From the bytes equal to the key's to the bytes of pixels equal in all
// three, over 16 pixels.
std::uint64_t ClearPixels(std::uint64_t equal) {
  const std::uint64_t starts = equal & (equal >> 1) & (equal >> 2) & kPixelStarts;
  return starts | (starts << 1) | (starts << 2);
}

// 0xFF in byte i where bit i of bits is set.
PELO_AVX2 __m256i MaskOfBits(std::uint32_t bits) {
  const __m256i spread =
      _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(bits)),
                          _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2,
                                           2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3));
  const __m256i select = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
  return _mm256_cmpeq_epi8(_mm256_and_si256(spread, select), select);
}

struct KeyPattern {
  __m256i part[3];
};

PELO_AVX2 KeyPattern MakeKeyPattern(const std::uint8_t key[3]) {
  std::uint8_t bytes[96];
  for (int i = 0; i < 96; ++i) bytes[i] = key[i % 3];
  return {{Load(bytes), Load(bytes + 32), Load(bytes + 64)}};
}

// 32 pixels of 24 bits, as two halves of 16 pixels (48 bytes each).
PELO_AVX2 void Rgb24Step(std::uint8_t* dest, const std::uint8_t* source, const KeyPattern& key) {
  const __m256i s[3] = {Load(source), Load(source + 32), Load(source + 64)};
  const __m256i e[3] = {_mm256_cmpeq_epi8(s[0], key.part[0]), _mm256_cmpeq_epi8(s[1], key.part[1]),
                        _mm256_cmpeq_epi8(s[2], key.part[2])};
  // Most steps of a painted area have no byte equal to the key's at all.
  const __m256i any = _mm256_or_si256(_mm256_or_si256(e[0], e[1]), e[2]);
  if (_mm256_testz_si256(any, any)) {
    for (int i = 0; i < 3; ++i) Store(dest + 32 * i, s[i]);
    return;
  }
  std::uint64_t equal[3];
  for (int i = 0; i < 3; ++i) equal[i] = static_cast<std::uint32_t>(_mm256_movemask_epi8(e[i]));
  const std::uint64_t low = ClearPixels(equal[0] | ((equal[1] & 0xFFFF) << 32));
  const std::uint64_t high = ClearPixels((equal[1] >> 16) | (equal[2] << 16));
  constexpr std::uint64_t kAll = 0xFFFFFFFFFFFFull;
  if (low == kAll && high == kAll) return;
  if (low == 0 && high == 0) {
    for (int i = 0; i < 3; ++i) Store(dest + 32 * i, s[i]);
    return;
  }
  const std::uint32_t clear[3] = {static_cast<std::uint32_t>(low),
                                  static_cast<std::uint32_t>((low >> 32) | (high << 16)),
                                  static_cast<std::uint32_t>(high >> 16)};
  for (int i = 0; i < 3; ++i)
    if (clear[i] != 0xFFFFFFFFu) Blend(dest + 32 * i, s[i], MaskOfBits(clear[i]));
}

PELO_AVX2 void BlitRgb24KeyedAvx2(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                  int height, const std::uint8_t* source,
                                  const std::uint8_t key[3]) {
  if (width < 32)
    return Sse2PixelKernels().blitRgb24Keyed(dest, destStep, width, height, source, key);
  const KeyPattern pattern = MakeKeyPattern(key);
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 3;
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes)
    for (int x = 0;; x = x + 64 <= width ? x + 32 : width - 32) {
      Rgb24Step(dest + 3 * x, source + 3 * x, pattern);
      if (x + 32 == width) break;
    }
}

// Thirty-two bytes per step; the last step of a row overlaps the one before.
PELO_AVX2 void CopyRowsAvx2(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes,
                            int height, const std::uint8_t* source) {
  if (rowBytes < 32 || rowBytes > kLibraryCopyRowBytes)
    return Sse2PixelKernels().copyRows(dest, destStep, rowBytes, height, source);
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes) {
    for (std::size_t x = 0; x + 32 < rowBytes; x += 32) Store(dest + x, Load(source + x));
    Store(dest + rowBytes - 32, Load(source + rowBytes - 32));
  }
}

}  // namespace

const PixelKernels& Avx2PixelKernels() {
  static constexpr PixelKernels kAvx2{
      "avx2",       BlitIndexedKeyedAvx2, BlitIndexedNibbleAvx2, BlitRgb24KeyedAvx2,
      CopyRowsAvx2, ProcessorHasAvx2};
  return kAvx2;
}

}  // namespace pelo

#else

namespace pelo {

const PixelKernels& Avx2PixelKernels() {
  static constexpr PixelKernels kAbsent{};
  return kAbsent;
}

}  // namespace pelo

#endif
