#!/usr/bin/env bash
# Builds both Windows plug-ins in release form (no tests, no tools, stripped)
# and writes dist/: Pelo2SPI.spi, Pelo2SPI.sph, the archive plug-ins
# Pelo2Layers.spi and Pelo2Layers.sph, the users' README.txt, the
# licence and the third-party licences, and the same files zipped as
# dist/Pelo2SPI-VERSION-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

version=$(sed -n 's/^project(Pelo2SPI VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="Pelo2SPI-$version-windows"
stage="dist/$name"
# Only what this script writes: the Debian package may lie beside it.
rm -rf "$stage" "dist/$name.zip" dist/Pelo2SPI.sp? dist/Pelo2Layers.sp?
mkdir -p "$stage/third-party"

for arch in i686 x86_64; do
  tree="build/dist-$arch"
  cmake -S . -B "$tree" --toolchain "$PWD/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DPELO_BUILD_TESTS=OFF -DPELO_BUILD_TOOLS=OFF -DPELO_BUILD_BENCH=OFF \
    -DCMAKE_SHARED_LINKER_FLAGS=-s >/dev/null
  cmake --build "$tree" --target Pelo2SPI Pelo2Layers -j 2
done
cp build/dist-i686/Pelo2SPI.spi build/dist-x86_64/Pelo2SPI.sph build/dist-i686/Pelo2Layers.spi \
  build/dist-x86_64/Pelo2Layers.sph "$stage/"

# Windows text files: CRLF line ends.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
sed "s/@VERSION@/$version/" packaging/windows/README.txt >"$stage/README.tmp"
crlf "$stage/README.tmp" "$stage/README.txt"
rm "$stage/README.tmp"
crlf LICENSE "$stage/LICENSE.txt"
# What is linked into the DLLs statically, with the licences Debian ships.
crlf /usr/share/doc/libz-mingw-w64/copyright "$stage/third-party/zlib.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$stage/third-party/mingw-w64-runtime.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/third-party/gcc-runtime.txt"
# libdeflate, compiled in from Debian's source package when the build found it.
if grep -q "^PELO_LIBDEFLATE_SOURCE:PATH=/" build/dist-x86_64/CMakeCache.txt; then
  source_dir=$(sed -n 's/^PELO_LIBDEFLATE_SOURCE:PATH=//p' build/dist-x86_64/CMakeCache.txt)
  crlf "$source_dir/debian/copyright" "$stage/third-party/libdeflate.txt"
fi

(cd dist && cmake -E tar cf "$name.zip" --format=zip "$name")
cp "$stage"/Pelo2SPI.sp? "$stage"/Pelo2Layers.sp? dist/
echo "dist/$name.zip"
ls -l dist
