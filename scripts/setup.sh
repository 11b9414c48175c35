#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12
# machine. Safe to run again: it does nothing when all is there.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config zlib1g-dev libdeflate-dev libpng-dev libgtest-dev libgmock-dev
  libbenchmark-dev
  clang libclang-rt-14-dev locales
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev binutils-mingw-w64-i686
  googletest xvfb xauth
  # Linux desktop: the GdkPixbuf loader and the Qt image plug-in, the programs
  # their tests run (gio, update-mime-database, gdk-pixbuf-thumbnailer), and
  # what CPack needs for the Debian package.
  libgdk-pixbuf-2.0-dev libgdk-pixbuf2.0-bin libglib2.0-bin shared-mime-info qtbase5-dev
  dpkg-dev debootstrap
  # A Japanese font with Latin glyphs, so the dialog renders legibly under wine.
  fonts-ipafont-gothic
)
WINE_PACKAGES=(wine wine32:i386 wine64)
# The Windows tests run programs under a Western (1252) and a Japanese (932)
# ANSI code page; wine takes it from the locale, and names files on disk in
# that locale's character set, so both locales must exist.
LOCALES=(en_US.UTF-8 ja_JP.UTF-8)
# Debian ships no libdeflate for MinGW: the Windows builds compile it from
# Debian's source package, fetched once into this folder (outside the
# repository; the build looks there, or where PELO_LIBDEFLATE_SOURCE says).
LIBDEFLATE_SOURCE_ROOT=/var/cache/pelo2spi
DEB_SRC_LIST=/etc/apt/sources.list.d/pelo2spi-deb-src.sources
APT_GET=(apt-get -o DPkg::Lock::Timeout=600)

install_locales() {
  local missing=() l
  for l in "${LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || missing+=("$l")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  for l in "${missing[@]}"; do
    grep -qx "$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
}

# apt-get source needs a deb-src line for the suite the packages come from.
fetch_libdeflate_source() {
  compgen -G "$LIBDEFLATE_SOURCE_ROOT/libdeflate-*/lib/deflate_decompress.c" >/dev/null && return 0
  if ! grep -rqs "^Types:.*deb-src" /etc/apt/sources.list.d/ && ! grep -qs "^deb-src" /etc/apt/sources.list; then
    $SUDO tee "$DEB_SRC_LIST" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $SUDO "${APT_GET[@]}" update -q || true
  fi
  $SUDO mkdir -p "$LIBDEFLATE_SOURCE_ROOT"
  (cd "$LIBDEFLATE_SOURCE_ROOT" && $SUDO "${APT_GET[@]}" source -q libdeflate >/dev/null 2>&1) ||
    echo "setup: libdeflate's source package could not be fetched; the Windows builds use zlib alone" >&2
}

missing=()
for p in "${PACKAGES[@]}" "${WINE_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -eq 0 ]; then
  install_locales
  fetch_libdeflate_source
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO "${APT_GET[@]}" update -q
# Without -t bookworm the i386 and amd64 lists disagree on wine's versions.
$SUDO "${APT_GET[@]}" install -y -q -t bookworm "${PACKAGES[@]}" "${WINE_PACKAGES[@]}"
install_locales
fetch_libdeflate_source
