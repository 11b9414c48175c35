#include "io/adler_checksum.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>

#include "platform/processor.h"

#ifdef PELO_SSE2_FORMS
#include <immintrin.h>
#endif

namespace pelo {

namespace {

std::uint32_t Adler32Zlib(std::uint32_t adler, const std::uint8_t* data, std::size_t size) {
  // zlib takes at most a uInt of bytes per call.
  constexpr std::size_t kMaxCall = std::numeric_limits<uInt>::max();
  while (size > 0) {
    const std::size_t n = std::min(size, kMaxCall);
    adler = static_cast<std::uint32_t>(adler32(adler, data, static_cast<uInt>(n)));
    data += n;
    size -= n;
  }
  return adler;
}

bool Always() {
  return true;
}

#ifdef PELO_SSE2_FORMS

constexpr std::uint64_t kBase = 65521;
// zlib's bound (NMAX) on the bytes after which the sums must be reduced: no
// partial sum of a block can pass 2^32, nor can any vector lane.
constexpr std::size_t kBlockBytes = 5552;

// The vector forms take the bytes in steps of W: the first sum gains their
// total; the second gains the first sum as it stood before each byte, that
// is W times the first sum before the step plus each byte weighted by how
// many bytes of the step start at it or after it. A block's steps leave
// the lanes' totals of those three quantities, which this adds in.
struct BlockSums {
  std::uint64_t totals;
  std::uint64_t totalsBefore;
  std::uint64_t weighted;
};

void AddBlock(std::uint64_t* s1, std::uint64_t* s2, std::size_t stepBytes, std::size_t steps,
              const BlockSums& sums) {
  *s2 = (*s2 + *s1 * steps * stepBytes + stepBytes * sums.totalsBefore + sums.weighted) % kBase;
  *s1 = (*s1 + sums.totals) % kBase;
}

std::size_t StepsOfBlock(std::size_t size, std::size_t stepBytes) {
  return std::min(size, kBlockBytes) / stepBytes;
}

__attribute__((target("sse2"))) std::uint64_t LaneTotal(__m128i v) {
  const __m128i pairs = _mm_add_epi32(v, _mm_shuffle_epi32(v, 0x4E));
  return static_cast<std::uint32_t>(
      _mm_cvtsi128_si32(_mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, 0xB1))));
}

// SSE2 has no byte-by-byte multiply: the bytes are widened to 16 bits.
__attribute__((target("sse2"))) std::uint32_t Adler32Sse2(std::uint32_t adler,
                                                          const std::uint8_t* data,
                                                          std::size_t size) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  std::uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (size >= 16) {
    const std::size_t steps = StepsOfBlock(size, 16);
    __m128i totals = zero, totalsBefore = zero, weighted = zero;
    for (std::size_t i = 0; i < steps; ++i, data += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
      totalsBefore = _mm_add_epi32(totalsBefore, totals);
      totals = _mm_add_epi32(totals, _mm_sad_epu8(bytes, zero));
      const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weightsLow);
      const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weightsHigh);
      weighted = _mm_add_epi32(weighted, _mm_add_epi32(low, high));
    }
    size -= steps * 16;
    AddBlock(&s1, &s2, 16, steps,
             {LaneTotal(totals), LaneTotal(totalsBefore), LaneTotal(weighted)});
  }
  return Adler32Zlib(static_cast<std::uint32_t>(s1 | (s2 << 16)), data, size);
}

#endif

#ifdef PELO_AVX2_FORMS

__attribute__((target("avx2"))) std::uint64_t LaneTotal256(__m256i v) {
  return LaneTotal(_mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
}

__attribute__((target("avx2"))) std::uint32_t Adler32Avx2(std::uint32_t adler,
                                                          const std::uint8_t* data,
                                                          std::size_t size) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i ones = _mm256_set1_epi16(1);
  const __m256i weights =
      _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14,
                       13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
  std::uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (size >= 32) {
    const std::size_t steps = StepsOfBlock(size, 32);
    __m256i totals = zero, totalsBefore = zero, weighted = zero;
    for (std::size_t i = 0; i < steps; ++i, data += 32) {
      const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
      totalsBefore = _mm256_add_epi32(totalsBefore, totals);
      totals = _mm256_add_epi32(totals, _mm256_sad_epu8(bytes, zero));
      const __m256i pairs = _mm256_maddubs_epi16(bytes, weights);
      weighted = _mm256_add_epi32(weighted, _mm256_madd_epi16(pairs, ones));
    }
    size -= steps * 32;
    AddBlock(&s1, &s2, 32, steps,
             {LaneTotal256(totals), LaneTotal256(totalsBefore), LaneTotal256(weighted)});
  }
  return Adler32Zlib(static_cast<std::uint32_t>(s1 | (s2 << 16)), data, size);
}

#endif

#ifdef PELO_AVX512_FORMS

// Inlined, so that no 512-bit value is passed between functions (the
// sanitizers' stack frames do not keep such values aligned). The zeroing
// forms with every lane kept: GCC 12's plain forms warn about their own
// undefined placeholders.
[[gnu::always_inline]] inline __attribute__((target("avx512f"))) std::uint64_t LaneTotal512(
    __m512i v) {
  constexpr __mmask16 kAll = 0xFFFF;
  v = _mm512_add_epi32(v, _mm512_maskz_shuffle_i32x4(kAll, v, v, 0x4E));
  v = _mm512_add_epi32(v, _mm512_maskz_shuffle_i32x4(kAll, v, v, 0xB1));
  v = _mm512_add_epi32(v, _mm512_maskz_shuffle_epi32(kAll, v, _MM_PERM_BADC));
  v = _mm512_add_epi32(v, _mm512_maskz_shuffle_epi32(kAll, v, _MM_PERM_CDAB));
  return static_cast<std::uint32_t>(_mm512_cvtsi512_si32(v));
}

// Twice the AVX2 form's width, with the weighted sums in one instruction: a
// body just inflated is still in the cache, where the sums rather than the
// memory set the pace.
__attribute__((target("avx512f,avx512bw,avx512vnni"))) std::uint32_t Adler32Avx512Vnni(
    std::uint32_t adler, const std::uint8_t* data, std::size_t size) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i weights = _mm512_set_epi8(
      1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
      27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49,
      50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64);
  std::uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (size >= 64) {
    const std::size_t steps = StepsOfBlock(size, 64);
    __m512i totals = zero, totalsBefore = zero, weighted = zero;
    for (std::size_t i = 0; i < steps; ++i, data += 64) {
      const __m512i bytes = _mm512_loadu_si512(data);
      totalsBefore = _mm512_add_epi32(totalsBefore, totals);
      totals = _mm512_add_epi32(totals, _mm512_sad_epu8(bytes, zero));
      weighted = _mm512_dpbusd_epi32(weighted, bytes, weights);
    }
    size -= steps * 64;
    AddBlock(&s1, &s2, 64, steps,
             {LaneTotal512(totals), LaneTotal512(totalsBefore), LaneTotal512(weighted)});
  }
  return Adler32Avx2(static_cast<std::uint32_t>(s1 | (s2 << 16)), data, size);
}

#endif

const AdlerForm& ActiveAdlerForm() {
  static const AdlerForm& active = FirstSupportedForm(AllAdlerForms());
  return active;
}

}  // namespace

std::span<const AdlerForm> AllAdlerForms() {
  static constexpr AdlerForm kForms[] = {
#ifdef PELO_AVX512_FORMS
      {"avx512vnni", Adler32Avx512Vnni, ProcessorHasAvx512Vnni},
#endif
#ifdef PELO_AVX2_FORMS
      {"avx2", Adler32Avx2, ProcessorHasAvx2},
#endif
#ifdef PELO_SSE2_FORMS
      {"sse2", Adler32Sse2, ProcessorHasSse2},
#endif
      {"zlib", Adler32Zlib, Always},
  };
  return kForms;
}

std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t size) {
  return ActiveAdlerForm().run(adler, data, size);
}

}  // namespace pelo
