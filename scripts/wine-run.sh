#!/usr/bin/env bash
# Runs a Windows program under wine and returns its exit code: the cross
# build's CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs every Windows test
# through here.
#
# The wine prefix lives inside the build tree (never in $HOME), so a build
# directory is self-contained and removing it removes the prefix too. An
# explicit WINEPREFIX in the environment is honoured (the dialog tests use a
# prefix of their own, tied to an X display). The prefix is initialised once,
# under a lock, because ctest -j starts several tests at the same moment and
# two wineboots on one prefix corrupt it.
#
# No X display is needed: without DISPLAY wine runs console programs with its
# null display driver.
set -euo pipefail

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

if [ -z "${WINEPREFIX:-}" ]; then
  build_dir=$(find_build_dir "$(dirname "$1")" || find_build_dir "$PWD" || true)
  if [ -z "$build_dir" ]; then
    echo "$0: no build tree (CMakeCache.txt) above $1 or $PWD; set WINEPREFIX" >&2
    exit 2
  fi
  WINEPREFIX="$build_dir/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=-all
# The DLL and its tests are 32-bit only; a 32-bit prefix boots faster and has
# one system directory.
export WINEARCH=win32

mkdir -p "$(dirname "$WINEPREFIX")"
ready_mark="$WINEPREFIX/.pelo-ready"
if [ ! -f "$ready_mark" ]; then
  (
    flock 9
    if [ ! -f "$ready_mark" ]; then
      # Half-made prefixes from an interrupted boot would fail in odd ways.
      rm -rf "$WINEPREFIX"
      # No Mono or Gecko: nothing here is .NET or HTML, and their installers
      # would ask to download.
      WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
      wineserver -w
      touch "$ready_mark"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# WINE_LC_ALL: the locale (and so the ANSI code page) of the program. Set
# for wine only: the shell itself may not have that locale installed.
status=0
if [ -n "${WINE_LC_ALL:-}" ]; then
  env LC_ALL="$WINE_LC_ALL" wine "$@" || status=$?
else
  wine "$@" || status=$?
fi
exit "$status"
