#!/usr/bin/env bash
# The test command: installs what is missing, builds the native tree and both
# Windows DLLs, and runs every suite (the Windows ones under wine), the
# native ones also under the sanitizers, and each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# The same suites under AddressSanitizer, UndefinedBehaviorSanitizer and leak
# detection, then under ThreadSanitizer, which the eight-thread stress test
# is for. Any finding fails the run.
for preset in asan tsan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# Each fuzz target for a minute from its committed corpus (FUZZ_SECONDS to
# change it); a crash, leak, timeout or excess allocation fails the run.
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

# Both Windows DLLs under wine: 64-bit everywhere, 32-bit where the kernel
# runs 32-bit programs (skipped with a note where it does not).
scripts/test-windows.sh
