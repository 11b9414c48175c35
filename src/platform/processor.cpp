#include "platform/processor.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>

#include <cstdint>
#endif

namespace pelo {

namespace {

struct Features {
  bool sse2 = false;
  bool avx2 = false;
  bool avx512 = false;
  bool avx512Vnni = false;
};

#if defined(__i386__) || defined(__x86_64__)

// The register state the operating system saves (XCR0), readable only when
// it has enabled XSAVE.
std::uint64_t SavedRegisterState() {
  std::uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (std::uint64_t{high} << 32) | low;
}

Features Detect() {
  Features f;
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
  f.sse2 = (d & bit_SSE2) != 0;
  if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0 || __get_cpuid_max(0, nullptr) < 7) return f;
  const std::uint64_t state = SavedRegisterState();
  constexpr std::uint64_t kYmm = 0x6;          // SSE and AVX state
  constexpr std::uint64_t kZmm = kYmm | 0xE0;  // and the opmask and upper ZMM state
  __cpuid_count(7, 0, a, b, c, d);
  f.avx2 = (state & kYmm) == kYmm && (b & bit_AVX2) != 0;
  f.avx512 = f.avx2 && (state & kZmm) == kZmm && (b & bit_AVX512F) != 0 &&
             (b & bit_AVX512BW) != 0 && (b & bit_BMI2) != 0 && (c & bit_AVX512VBMI) != 0;
  f.avx512Vnni = f.avx512 && (c & bit_AVX512VNNI) != 0;
  return f;
}

#else

Features Detect() {
  return {};
}

#endif

const Features& Processor() {
  static const Features features = Detect();
  return features;
}

}  // namespace

bool ProcessorHasSse2() {
  return Processor().sse2;
}

bool ProcessorHasAvx2() {
#ifdef PELO_AVX2_FORMS
  return Processor().avx2;
#else
  return false;
#endif
}

bool ProcessorHasAvx512() {
#ifdef PELO_AVX512_FORMS
  return Processor().avx512;
#else
  return false;
#endif
}

bool ProcessorHasAvx512Vnni() {
#ifdef PELO_AVX512_FORMS
  return Processor().avx512Vnni;
#else
  return false;
#endif
}

}  // namespace pelo
