#!/usr/bin/env bash
# The test command: installs what is missing, builds the native tree and the
# 32-bit Windows DLL, and runs every suite (the Windows ones under wine).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

if [ -x scripts/test-win32.sh ]; then
  scripts/test-win32.sh
fi
