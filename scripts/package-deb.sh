#!/usr/bin/env bash
# Builds the Debian package for Linux desktops: pelconv, the plug-in module,
# the GdkPixbuf loader, the Qt image plug-in, the MIME type and the
# thumbnailer entry, all under /usr. Copies it into dist/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

tree=build/deb
cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPELO_BUILD_TESTS=OFF -DPELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$tree" -j 2
rm -f "$tree"/*.deb
(cd "$tree" && cpack -G DEB >/dev/null)
mkdir -p dist
cp "$tree"/*.deb dist/
ls dist/pelo2spi_*.deb
