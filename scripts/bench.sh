#!/usr/bin/env bash
# The benchmark command: installs what is missing, builds a Release tree in
# build/bench, measures every document shape against its floors and writes
# the tables to BENCHMARKS.md at the top of the repository. Before that,
# each Windows DLL is measured in its own process under wine (64-bit always,
# 32-bit where the kernel runs 32-bit programs) from Release trees in
# build/bench-win64 and build/bench-win32, and its rows go beside the native
# ones. Arguments are passed to the runners (e.g. --sizes 64,256 for a quick
# look; the file is then written to build/bench/BENCHMARKS.md instead).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

dll_args=()
for arch in win64 win32; do
  case $arch in
    win64) toolchain=cmake/mingw-x86_64.cmake label="64-bit DLL under wine" ;;
    win32) toolchain=cmake/mingw-i686.cmake label="32-bit DLL under wine" ;;
  esac
  tree=build/bench-$arch
  cmake -S . -B "$tree" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DPELO_BUILD_TESTS=ON -DPELO_BUILD_BENCH=ON -DPELO_BUILD_TOOLS=OFF >/dev/null
  cmake --build "$tree" --target pelo_bench_dll -j 2 >/dev/null
  rows=$tree/dll-rows.tsv
  status=0
  # The loader finds the DLL where it was built.
  WINEPATH="$PWD/$tree" scripts/wine-run.sh "$tree/bench/pelo_bench_dll.exe" "$@" >"$rows" ||
    status=$?
  if [ "$status" -eq 77 ]; then
    echo "NOTE: the 32-bit DLL was not measured: this machine cannot run 32-bit programs"
    continue
  fi
  [ "$status" -eq 0 ] || exit "$status"
  dll_args+=(--dll "$label=$rows")
done

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPELO_BUILD_TESTS=ON \
  -DPELO_BUILD_BENCH=ON -DPELO_BUILD_TOOLS=OFF >/dev/null
cmake --build build/bench --target pelo_bench -j 2

output=BENCHMARKS.md
[ $# -eq 0 ] || output=build/bench/BENCHMARKS.md
build/bench/bench/pelo_bench --output "$output" "${dll_args[@]}" "$@" >/dev/null
echo "wrote $output"
