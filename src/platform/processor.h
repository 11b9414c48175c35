// What the processor running the module offers, and which builds carry the
// code that comes in several forms (pixel operations, the body checksum):
// every form is compiled where its instructions exist and chosen at run
// time by the checks here, which ask the operating system too whether it
// keeps the wider registers across task switches.
#pragma once

#include <span>

// SSE2 and AVX2 forms: every x86 build, 32-bit ones included. AVX-512 forms:
// 64-bit x86 only, for their 64-bit masks and BMI2's 64-bit bit deposit.
#if defined(__i386__) || defined(__x86_64__)
#define PELO_SSE2_FORMS 1
#define PELO_AVX2_FORMS 1
#endif
#if defined(__x86_64__)
#define PELO_AVX512_FORMS 1
#endif

namespace pelo {

// SSE2: always on 64-bit x86, asked of the processor on 32-bit x86, never
// elsewhere.
bool ProcessorHasSse2();
// AVX2, with the operating system saving the 256-bit registers.
bool ProcessorHasAvx2();
// AVX-512 F, BW and VBMI with BMI2, with the operating system saving the
// 512-bit registers and the mask registers.
bool ProcessorHasAvx512();
// That, and the byte dot products (VNNI).
bool ProcessorHasAvx512Vnni();

// Which form runs: the first of forms (fastest first, each with a
// supported() check from above) that this processor supports; the last
// form of every list runs everywhere.
template <class Form>
const Form& FirstSupportedForm(std::span<const Form> forms) {
  for (const Form& form : forms)
    if (form.supported()) return form;
  return forms.back();
}

}  // namespace pelo
