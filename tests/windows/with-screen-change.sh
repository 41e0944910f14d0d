#!/bin/sh
# Runs a Windows test program twice under Wine, as if the screen had changed
# between the runs: first on a 1280x1024 Xvfb screen with PELNO_SCREEN_PHASE
# "sxga", then on a 1920x1080 one with "fullhd". A Wine prefix of its own
# (build/wineprefix-screens, copied from the tests' prefix the first time)
# keeps what the first run stored for the second, and the Wine server is
# started anew on each display. Exits non-zero when either run fails.
# Usage: with-screen-change.sh <program> [arguments]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
base="${PELNO_WINEPREFIX:-$root/build/wineprefix}"
prefix="$root/build/wineprefix-screens"
if [ ! -f "$prefix/system.reg" ]; then
  cp -a "$base" "$prefix" || exit 1
fi
. "$root/tools/xvfb-session"
export PELNO_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1; pelno_stop_xvfb' EXIT INT TERM
for phase in sxga:1280x1024 fullhd:1920x1080; do
  PELNO_SCREEN="${phase#*:}x24" pelno_start_xvfb || exit 1
  wineserver -k >/dev/null 2>&1
  wineserver -w
  (wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1
  PELNO_SCREEN_PHASE="${phase%%:*}" "$root/tools/wine-run" "$@" || exit 1
  wineserver -k >/dev/null 2>&1
  pelno_stop_xvfb
done
