#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build/fuzz and runs each named target
# (all three when none is named) for SECONDS seconds, one after the other,
# from the committed seeds in fuzz/corpus/<target>. What a run adds to the
# corpus stays in build/fuzz/corpus/<target>; a finding is written to
# build/fuzz/findings/<target>/ and ends the run with a failure.
#
#   scripts/fuzz.sh SECONDS [picture|record_body|run_length ...]
#
# FUZZ_TIMEOUT (seconds per input, default 1) and FUZZ_MAX_LEN (default
# 8192) may be set in the environment.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ]; then
  echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(picture record_body run_length)

build=build/fuzz
cmake -S fuzz -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null

for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  # The ini file beside the fuzzer holds the layer mode the inputs switch.
  "$build/${target}_fuzzer" "$corpus" fuzz/corpus/"$target" \
    -dict=fuzz/pelo.dict \
    -max_total_time="$seconds" \
    -timeout="${FUZZ_TIMEOUT:-1}" \
    -max_len="${FUZZ_MAX_LEN:-8192}" \
    -rss_limit_mb=2048 -malloc_limit_mb=1024 \
    -artifact_prefix="$findings/" \
    -print_final_stats=1 2>&1 | tee "$build/$target.log" | grep -E "^#[0-9]+ +(INITED|DONE)|ERROR|SUMMARY|stat::number_of_executed_units|stat::peak_rss" || true
  if ! grep -q "^Done [0-9]* runs" "$build/$target.log"; then
    echo "fuzz target $target: finding, see $build/$target.log and $findings" >&2
    exit 1
  fi
done
