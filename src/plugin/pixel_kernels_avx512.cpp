// Sixty-four 8-bit or sixteen 24-bit pixels per step with AVX-512 (byte,
// word and byte-permute instructions) and BMI2, chosen at run time on
// processors that have them: the masks of these instructions store only the
// opaque bytes, so no step reads the destination, and the last, partial
// step of an 8-bit row needs no other code.
#include "platform/processor.h"
#include "plugin/pixel_kernels.h"

#ifdef PELO_AVX512_FORMS

#include <immintrin.h>

#define PELO_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi,bmi2")))

namespace pelo {

namespace {

// The first count bits set (count <= 64).
std::uint64_t FirstBits(int count) {
  return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

struct KeyedOpaque {
  __m512i keys;
  PELO_AVX512 __mmask64 operator()(__m512i s, __mmask64 valid) const {
    return _mm512_mask_cmpneq_epi8_mask(valid, s, keys);
  }
};

struct NibbleOpaque {
  __m512i nibbles;
  PELO_AVX512 __mmask64 operator()(__m512i s, __mmask64 valid) const {
    return _mm512_mask_test_epi8_mask(valid, s, nibbles);
  }
};

template <typename Opaque>
PELO_AVX512 void IndexedRow(std::uint8_t* dest, const std::uint8_t* source, int width,
                            Opaque opaque) {
  for (int x = 0; x < width; x += 64) {
    const __mmask64 valid = FirstBits(width - x);
    const __m512i s = _mm512_maskz_loadu_epi8(valid, source + x);
    _mm512_mask_storeu_epi8(dest + x, opaque(s, valid), s);
  }
}

PELO_AVX512 void BlitIndexedKeyedAvx512(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                        int height, const std::uint8_t* source,
                                        std::ptrdiff_t sourceRowLength, std::uint8_t key) {
  const KeyedOpaque opaque{_mm512_set1_epi8(static_cast<char>(key))};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, opaque);
}

PELO_AVX512 void BlitIndexedNibbleAvx512(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                         int height, const std::uint8_t* source,
                                         std::ptrdiff_t sourceRowLength) {
  const NibbleOpaque opaque{_mm512_set1_epi8(0x0F)};
  for (int y = 0; y < height; ++y, dest += destStep, source += sourceRowLength)
    IndexedRow(dest, source, width, opaque);
}

// Sixteen 3-byte pixels (48 bytes) are spread into sixteen 4-byte lanes,
// the third byte repeated, so that one 32-bit compare against the key
// spread the same way tells which pixels are transparent; each bit of that
// mask then stands for the three bytes of its pixel in the store's mask.
// Steps never overlap in what they store except for the last one of a row.
constexpr std::uint64_t kPixelStarts = 0x249249249249ull;  // bit 3i, i < 16
constexpr std::uint64_t kStepBytes = 0xFFFFFFFFFFFFull;    // 48 bits

PELO_AVX512 __m512i SpreadPixels() {
  std::uint8_t index[64];
  for (int i = 0; i < 16; ++i) {
    for (int b = 0; b < 3; ++b) index[4 * i + b] = static_cast<std::uint8_t>(3 * i + b);
    index[4 * i + 3] = static_cast<std::uint8_t>(3 * i + 2);
  }
  return _mm512_loadu_si512(index);
}

PELO_AVX512 void Rgb24Row(std::uint8_t* dest, const std::uint8_t* source, int width, __m512i spread,
                          __m512i keys) {
  for (int x = 0;; x = x + 32 <= width ? x + 16 : width - 16) {
    const std::uint8_t* s = source + 3 * x;
    // A whole 64-byte load only where the row holds all of it.
    const __m512i pixels =
        x + 22 <= width ? _mm512_loadu_si512(s) : _mm512_maskz_loadu_epi8(kStepBytes, s);
    // The zeroing form with every lane kept: GCC 12's plain form warns
    // about its own undefined placeholder.
    const __m512i lanes = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, spread, pixels);
    const __mmask16 clear = _mm512_cmpeq_epi32_mask(lanes, keys);
    if (clear != 0xFFFF) {
      const std::uint64_t clearBytes = _pdep_u64(clear, kPixelStarts) * 7;
      _mm512_mask_storeu_epi8(dest + 3 * x, kStepBytes & ~clearBytes, pixels);
    }
    if (x + 16 == width) return;
  }
}

PELO_AVX512 void BlitRgb24KeyedAvx512(std::uint8_t* dest, std::ptrdiff_t destStep, int width,
                                      int height, const std::uint8_t* source,
                                      const std::uint8_t key[3]) {
  if (width < 22)
    return Avx2PixelKernels().blitRgb24Keyed(dest, destStep, width, height, source, key);
  const __m512i spread = SpreadPixels();
  const __m512i keys = _mm512_set1_epi32(static_cast<int>(
      key[0] | (key[1] << 8) | (key[2] << 16) | (static_cast<std::uint32_t>(key[2]) << 24)));
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 3;
  for (int y = 0; y < height; ++y, dest += destStep, source += rowBytes)
    Rgb24Row(dest, source, width, spread, keys);
}

// Wider steps copy no faster than the AVX2 form's.
void CopyRowsAvx512(std::uint8_t* dest, std::ptrdiff_t destStep, std::size_t rowBytes, int height,
                    const std::uint8_t* source) {
  Avx2PixelKernels().copyRows(dest, destStep, rowBytes, height, source);
}

}  // namespace

const PixelKernels& Avx512PixelKernels() {
  static constexpr PixelKernels kAvx512{
      "avx512",       BlitIndexedKeyedAvx512, BlitIndexedNibbleAvx512, BlitRgb24KeyedAvx512,
      CopyRowsAvx512, ProcessorHasAvx512};
  return kAvx512;
}

}  // namespace pelo

#else

namespace pelo {

const PixelKernels& Avx512PixelKernels() {
  static constexpr PixelKernels kAbsent{};
  return kAbsent;
}

}  // namespace pelo

#endif
