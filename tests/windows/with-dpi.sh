#!/bin/sh
# Runs a Windows test program under Wine with every monitor at another DPI
# (HKCU\Control Panel\Desktop LogPixels: 120, 144, 192), on a private Xvfb
# display and in a Wine prefix and server of their own
# (build/wineprefix-dpi<N>, copied from the tests' prefix the first time), so
# that no other test sees the scale. Wine has one DPI for all monitors.
# Usage: with-dpi.sh <dpi> <program> [arguments]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
dpi="$1"
shift
base="${PELNO_WINEPREFIX:-$root/build/wineprefix}"
prefix="$root/build/wineprefix-dpi$dpi"
if [ ! -f "$prefix/system.reg" ]; then
  cp -a "$base" "$prefix" || exit 1
fi
"$root/tools/wine-fonts" "$prefix"

. "$root/tools/xvfb-session"
pelno_start_xvfb || exit 1
export PELNO_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1; pelno_stop_xvfb' EXIT INT TERM
# The DPI is read once per server: set it, then start a new one.
wineserver -k >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w
(wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1
"$root/tools/wine-run" "$@"
