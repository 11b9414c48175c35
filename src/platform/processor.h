// What the processor running the module offers, for the code that comes in
// several forms (pixel operations, the body checksum) to choose one.
#pragma once

namespace pelo {

// SSE2: always on 64-bit x86, asked of the processor on 32-bit x86, never
// elsewhere.
bool ProcessorHasSse2();
// AVX2 on 64-bit x86 (the only builds with AVX2 forms).
bool ProcessorHasAvx2();

}  // namespace pelo
