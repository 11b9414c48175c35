#!/usr/bin/env bash
# Runs a Windows program under wine and returns its exit code: the cross
# builds' CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs every Windows test
# through here.
#
# The program's own PE header says whether it is 32- or 64-bit:
#  - 64-bit programs run in a 64-bit prefix (WINEARCH=win64) under
#    /usr/lib/wine/wine64, started directly: Debian's /usr/bin/wine always
#    starts the 32-bit loader first, which some kernels cannot run.
#  - 32-bit programs run in a 32-bit prefix under /usr/bin/wine. Where the
#    kernel cannot run 32-bit programs (it answers "Exec format error"), the
#    program is not run: one line says why, and the exit code is 77, which
#    the build's tests take as "skipped".
#
# The wine prefix lives inside the build tree (never in $HOME), so a build
# directory is self-contained and removing it removes the prefix too. An
# explicit WINEPREFIX in the environment is honoured (the dialog tests use a
# prefix of their own, tied to an X display). The prefix is initialised once,
# under a lock, because ctest -j starts several tests at the same moment and
# two wineboots on one prefix corrupt it. A prefix that fails to boot is
# reported with wine's own words.
#
# No X display is needed: without DISPLAY wine runs console programs with its
# null display driver.
#
# PELO_WINE32_LOADER: the 32-bit loader to probe (default /usr/lib/wine/wine),
# so the skip can be tried out on a machine that does run 32-bit programs.
set -euo pipefail

readonly SKIP_CODE=77

if [ $# -eq 0 ]; then
  echo "usage: $0 program.exe [arguments...]" >&2
  exit 2
fi

# The build tree is the nearest directory above the program (or above the
# working directory) that holds a CMakeCache.txt.
find_build_dir() {
  local dir
  dir=$(cd "$1" 2>/dev/null && pwd) || return 1
  while [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      echo "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

# The machine field of a PE file: 14c for i386, 8664 for x86-64.
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}

program=$1
case "$program" in
  */*) ;;
  *) program=$(command -v "$program" || echo "$program") ;;
esac
machine=$(pe_machine "$program" || true)
case "$machine" in
  8664) arch=win64 ;;
  014c) arch=win32 ;;
  *)
    echo "$0: $1 is not a 32- or 64-bit Windows program (machine '${machine}')" >&2
    exit 2
    ;;
esac

if [ "$arch" = win64 ]; then
  loader=/usr/lib/wine/wine64
  export WINELOADER=$loader
else
  loader=wine
  probe=${PELO_WINE32_LOADER:-/usr/lib/wine/wine}
  if ! reason=$("$probe" --version 2>&1 >/dev/null); then
    reason=${reason:-"$probe" cannot start}
    echo "SKIPPED (32-bit): this machine cannot run 32-bit programs ($(echo "$reason" |
      head -n1)); $(basename "$1") was not run" >&2
    exit "$SKIP_CODE"
  fi
fi

if [ -z "${WINEPREFIX:-}" ]; then
  build_dir=$(find_build_dir "$(dirname "$program")" || find_build_dir "$PWD" || true)
  if [ -z "$build_dir" ]; then
    echo "$0: no build tree (CMakeCache.txt) above $1 or $PWD; set WINEPREFIX" >&2
    exit 2
  fi
  WINEPREFIX="$build_dir/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=-all
# One prefix per architecture: a 32-bit prefix boots faster and has one
# system directory; a 64-bit one is what 64-bit hosts run in.
export WINEARCH=$arch

mkdir -p "$(dirname "$WINEPREFIX")"
ready_mark="$WINEPREFIX/.pelo-ready"
if [ ! -f "$ready_mark" ]; then
  (
    flock 9
    if [ ! -f "$ready_mark" ]; then
      # Half-made prefixes from an interrupted boot would fail in odd ways.
      rm -rf "$WINEPREFIX"
      boot_log="$WINEPREFIX.boot.log"
      # No Mono or Gecko: nothing here is .NET or HTML, and their installers
      # would ask to download.
      if ! WINEDEBUG=err+all WINEDLLOVERRIDES="mscoree,mshtml=" \
        "$loader" wineboot.exe -i >"$boot_log" 2>&1; then
        echo "$0: the $arch wine prefix $WINEPREFIX did not start; wine said:" >&2
        tail -n 20 "$boot_log" >&2
        exit 1
      fi
      wineserver -w
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "$0: the $arch wine prefix $WINEPREFIX has no registry after wineboot:" >&2
        tail -n 20 "$boot_log" >&2
        exit 1
      fi
      touch "$ready_mark"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# WINE_LC_ALL: the locale (and so the ANSI code page) of the program. Set
# for wine only: the shell itself may not have that locale installed.
status=0
if [ -n "${WINE_LC_ALL:-}" ]; then
  env LC_ALL="$WINE_LC_ALL" "$loader" "$@" || status=$?
else
  "$loader" "$@" || status=$?
fi
exit "$status"
