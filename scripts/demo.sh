#!/usr/bin/env bash
# The main command: installs what is missing, builds the plug-in module and
# pelconv, converts the bundled samples into PNG files and prints their paths.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native --target pelconv >/dev/null

out=out/samples-png
mkdir -p "$out"
echo "Converting samples/*.pel into $out/ (visible layers):" >&2
build/native/pelconv --quiet --layers visible -o "$out" samples/*.pel
echo "The same with every layer, hidden ones too, into $out/all-layers/:" >&2
build/native/pelconv --quiet --layers all -o "$out/all-layers" samples/*.pel
for f in "$out"/*.png "$out"/all-layers/*.png; do
  echo "$(pwd)/$f"
done
