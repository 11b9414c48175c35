#!/usr/bin/env bash
# The Windows half of the test command: cross-builds Pelo2SPI.spi and the
# suites with MinGW-w64 (preset win32, in build/win32) and runs them under
# wine. Console tests run headless; the dialog tests start their own Xvfb
# (tests/wine/run_with_display.sh), so no display is needed here either.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset win32
