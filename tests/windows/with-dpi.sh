#!/bin/sh
# Runs a Windows test program under Wine at another DPI: in a Wine prefix of
# its own (build/wineprefix-<dpi>, copied from the tests' prefix the first
# time, with the user's LogPixels set to the DPI) and that prefix's own Wine
# server, on the display given or a private Xvfb one, so that no other test
# sees the DPI. Usage: with-dpi.sh <dpi> <program> [arguments]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
dpi=$1
shift
base="${PELNO_WINEPREFIX:-$root/build/wineprefix}"
prefix="$root/build/wineprefix-$dpi"
if [ ! -f "$prefix/.pelnocpl-dpi" ]; then
  rm -rf "$prefix"
  cp -a "$base" "$prefix" || exit 1
  WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f </dev/null >/dev/null 2>&1 || exit 1
  WINEPREFIX="$prefix" wineserver -w
  touch "$prefix/.pelnocpl-dpi"
fi

. "$root/tools/xvfb-session"
[ -n "${DISPLAY:-}" ] || pelno_start_xvfb || exit 1
export PELNO_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all PELNO_EXPECTED_DPI="$dpi"
trap 'wineserver -k >/dev/null 2>&1; pelno_stop_xvfb' EXIT INT TERM
(wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1
"$root/tools/wine-run" "$@"
