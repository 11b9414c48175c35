#include "io/adler_checksum.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#if defined(__x86_64__) && !defined(_WIN32)
#include <immintrin.h>
#define PELO_ADLER_AVX2 1
#endif

namespace pelo {

namespace {

std::uint32_t Adler32Zlib(std::uint32_t adler, const std::uint8_t* data, std::size_t size) {
  // zlib takes at most a uInt of bytes per call.
  constexpr std::size_t kMaxCall = std::numeric_limits<uInt>::max();
  while (size > 0) {
    const std::size_t n = size < kMaxCall ? size : kMaxCall;
    adler = static_cast<std::uint32_t>(adler32(adler, data, static_cast<uInt>(n)));
    data += n;
    size -= n;
  }
  return adler;
}

#ifdef PELO_ADLER_AVX2

constexpr std::uint32_t kBase = 65521;
// zlib's bound (NMAX, 5552) on the bytes after which the sums must be
// reduced, rounded down to whole steps.
constexpr std::size_t kBlockSteps = 5552 / 32;

__attribute__((target("avx2"))) std::uint64_t Sum32(__m256i v) {
  const __m128i half = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
  const __m128i pairs = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
  const __m128i all = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, 0xB1));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(all));
}

// Thirty-two bytes per step: the first sum gains their total; the second
// gains the first sum as it stood before each byte, that is 32 times the
// first sum before the step plus each byte weighted by how many bytes of
// the step start at it or after it. No lane can pass 2^32 within a block.
__attribute__((target("avx2"))) std::uint32_t Adler32Avx2(std::uint32_t adler,
                                                          const std::uint8_t* data,
                                                          std::size_t size) {
  std::uint64_t s1 = adler & 0xFFFF;
  std::uint64_t s2 = adler >> 16;
  const __m256i weights =
      _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14,
                       13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
  const __m256i ones = _mm256_set1_epi16(1);
  const __m256i zero = _mm256_setzero_si256();
  while (size >= 32) {
    const std::size_t steps = std::min(size / 32, kBlockSteps);
    __m256i totals = zero;        // the block's bytes so far
    __m256i totalsBefore = zero;  // totals before each step, added up
    __m256i weighted = zero;
    for (std::size_t i = 0; i < steps; ++i, data += 32) {
      const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
      totalsBefore = _mm256_add_epi32(totalsBefore, totals);
      totals = _mm256_add_epi32(totals, _mm256_sad_epu8(bytes, zero));
      weighted =
          _mm256_add_epi32(weighted, _mm256_madd_epi16(_mm256_maddubs_epi16(bytes, weights), ones));
    }
    size -= steps * 32;
    s2 = (s2 + s1 * steps * 32 + Sum32(_mm256_slli_epi32(totalsBefore, 5)) + Sum32(weighted)) %
         kBase;
    s1 = (s1 + Sum32(totals)) % kBase;
  }
  return Adler32Zlib(static_cast<std::uint32_t>(s1 | (s2 << 16)), data, size);
}

#endif

}  // namespace

std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t size) {
#ifdef PELO_ADLER_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return Adler32Avx2(adler, data, size);
#endif
  return Adler32Zlib(adler, data, size);
}

}  // namespace pelo
