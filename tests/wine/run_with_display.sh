#!/usr/bin/env bash
# Runs the Windows dialog tests under wine with an X display: the one in
# DISPLAY, else a private Xvfb for the length of the run.
#
# They use a wine prefix of their own: a wineserver keeps the display that
# its first program had, so sharing one with the headless tests would leave
# the dialogs without a display (or with a dead one).
# usage: run_with_display.sh WINE_RUN PREFIX PROGRAM [ARGS...]
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

wine_run=$1
export WINEPREFIX=$2
shift 2
# A Japanese system: the module's texts are code page 932, which the ANSI
# calls only map right when that is the process's code page.
export WINE_LC_ALL=ja_JP.UTF-8

status=0
"$wine_run" "$@" || status=$?
# Let this prefix's wineserver go while its display is still there (77: the
# program was not run, so there is none).
if [ "$status" -ne 77 ]; then
  wineserver -w
fi
exit "$status"
