#!/bin/sh
# Runs a Windows test program under Wine with two monitors: a private Xvfb
# display of one 2560x1024 screen without RANDR, the stand-in Xinerama
# library (the folder given first) splitting it into two 1280x1024 heads
# (PELNO_SCREEN and PELNO_HEADS, when set, give other ones), and
# a Wine prefix and server of their own (build/wineprefix-monitors, copied
# from the tests' prefix the first time), so that no other test sees them.
# Usage: with-two-monitors.sh <xinerama folder> <program> [arguments]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
xinerama=$(cd "$1" && pwd) || exit 1
shift
base="${PELNO_WINEPREFIX:-$root/build/wineprefix}"
prefix="$root/build/wineprefix-monitors"
if [ ! -f "$prefix/system.reg" ]; then
  if [ -f "$base/system.reg" ]; then
    cp -a "$base" "$prefix"
  else
    WINEPREFIX="$prefix" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
    WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
  fi
fi
"$root/tools/wine-fonts" "$prefix"

. "$root/tools/xvfb-session"
PELNO_SCREEN="${PELNO_SCREEN:-2560x1024x24}" PELNO_XVFB_ARGS="-extension RANDR" pelno_start_xvfb || exit 1
export PELNO_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEDEBUG=-all
export LD_LIBRARY_PATH="$xinerama${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export PELNO_HEADS="${PELNO_HEADS:-1280x1024+0+0,1280x1024+1280+0}"
trap 'wineserver -k >/dev/null 2>&1; pelno_stop_xvfb' EXIT INT TERM
# A server of this prefix started under the two heads (its display settings
# are read once per server).
wineserver -k >/dev/null 2>&1
(wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1
"$root/tools/wine-run" "$@"
