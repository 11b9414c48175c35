// Sixty-four 8-bit pixels per step with AVX-512 (byte and word
// instructions), chosen at run time on processors that have it: the masks
// of these instructions store only the opaque bytes, so no step reads the
// destination, and the last, partial step of a row needs no other code.
// Built for 64-bit x86 outside Windows only, like the AVX2 form.
#include "plugin/pixel_kernels.h"

#if defined(__x86_64__) && !defined(_WIN32)

#include <immintrin.h>

#define PELO_AVX512 __attribute__((target("avx512f,avx512bw")))

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

// Three-byte pixels straddle the 64-byte vectors, and turning the masks of
// equal bytes into masks of equal pixels costs more here than the stores
// it saves: the AVX2 form is faster for them.
void BlitRgb24KeyedAvx512(std::uint8_t* dest, std::ptrdiff_t destStep, int width, int height,
                          const std::uint8_t* source, const std::uint8_t key[3]) {
  Avx2PixelKernels().blitRgb24Keyed(dest, destStep, width, height, source, key);
}

bool HasAvx512() {
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
}

}  // namespace

const PixelKernels& Avx512PixelKernels() {
  static constexpr PixelKernels kAvx512{"avx512", BlitIndexedKeyedAvx512, BlitIndexedNibbleAvx512,
                                        BlitRgb24KeyedAvx512, HasAvx512};
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
