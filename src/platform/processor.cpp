#include "platform/processor.h"

namespace pelo {

bool ProcessorHasSse2() {
#if defined(__x86_64__)
  return true;
#elif defined(__i386__)
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

bool ProcessorHasAvx2() {
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

}  // namespace pelo
