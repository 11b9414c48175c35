#!/usr/bin/env bash
# The benchmark command: installs what is missing, builds a Release tree in
# build/bench, measures every document shape against its floors and writes
# the tables to BENCHMARKS.md at the top of the repository. Arguments are
# passed to the runner (e.g. --sizes 64,256 for a quick look; the file is
# then written to build/bench/BENCHMARKS.md instead).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPELO_BUILD_TESTS=ON \
  -DPELO_BUILD_BENCH=ON -DPELO_BUILD_TOOLS=OFF >/dev/null
cmake --build build/bench --target pelo_bench -j 2

output=BENCHMARKS.md
[ $# -eq 0 ] || output=build/bench/BENCHMARKS.md
build/bench/bench/pelo_bench --output "$output" "$@" >/dev/null
echo "wrote $output"
