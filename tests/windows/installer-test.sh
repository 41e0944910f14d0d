#!/bin/sh
# The installer end to end under Wine, in a fresh prefix of its own
# (build/wineprefix-installer, copied from a clean prefix made once): a silent
# install puts every file, the cursor, the Start-menu entry and the uninstall
# entry in place; the installed program starts with two virtual touchscreens
# and its Help opens the installed manual; a silent uninstall removes all of
# it, puts back the cursors "Hide Cursor" replaced, and leaves the driver's
# parameters as they were. Prints the install and uninstall times.
# Usage: installer-test.sh <PelnoCplSetup.exe>      (needs DISPLAY, or starts Xvfb)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -f "$setup" ] || { echo "no installer at $1" >&2; exit 1; }

clean="$root/build/wineprefix-installer-clean"
prefix="$root/build/wineprefix-installer"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$clean/.pelnocpl-ready" ]; then
  rm -rf "$clean"
  WINEPREFIX="$clean" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$clean" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$clean" wineserver -w
  touch "$clean/.pelnocpl-ready"
fi
rm -rf "$prefix"
cp -a "$clean" "$prefix" || exit 1
export WINEPREFIX="$prefix"

if [ -z "${DISPLAY:-}" ]; then
  . "$root/tools/xvfb-session"
  pelno_start_xvfb || exit 1
fi
trap 'wineserver -k >/dev/null 2>&1; [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID"' EXIT INT TERM
(wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1

failures=0
check() { # check <description> <command...>
  what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
now() { date +%s.%N; }
seconds() { echo "$1 $2" | awk '{printf "%.2f", $2 - $1}'; }
# wait_for <seconds> <command...>: true once the command succeeds.
wait_for() {
  limit=$(($1 * 10))
  shift
  for _ in $(seq 1 "$limit"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
absent() { [ ! -e "$1" ]; }
reg_absent() { ! wine reg query "$1" >/dev/null 2>&1; }

drive="$prefix/drive_c"
folder="$drive/Program Files/TouchScreen Control Panel"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/TouchScreen Control Panel.lnk"
cursor="$drive/windows/Cursors/null.cur"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PelnoCpl'
driver_key='HKLM\SYSTEM\CurrentControlSet\Services\PelnoHID\Parameters\DriverParameters'
cursors_key='HKCU\Control Panel\Cursors'

# The driver's parameters as a calibrated installation has them, and a cursor
# scheme that "Hide Cursor" made: Arrow replaced (its value kept), Wait
# replaced with nothing kept, Hand chosen by the user since.
for value in Mode=2 EnableTouch=1 HideCursor=1 DoubleClickTime=700; do
  wine reg add "$driver_key" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null
done
wine reg add "$cursors_key" /v Arrow /t REG_EXPAND_SZ /d '%SYSTEMROOT%\Cursors\null.cur' /f >/dev/null
wine reg add "$cursors_key" /v Wait /t REG_EXPAND_SZ /d '%SystemRoot%\cursors\NULL.CUR' /f >/dev/null
wine reg add "$cursors_key" /v Hand /t REG_EXPAND_SZ /d 'C:\mine\hand.cur' /f >/dev/null
wine reg add 'HKCU\Software\Pelno Touch Systems\TouchScreen Control Panel\Hidden Cursors' /v Arrow \
  /t REG_EXPAND_SZ /d 'C:\kept\arrow.cur' /f >/dev/null
wine reg export "$driver_key" "$(winepath -w "$prefix/driver-before.reg")" /y >/dev/null
# PDF files open with a stand-in viewer that writes down the file it was given
# (Wine's shell takes the association from the machine's classes only).
wine reg add 'HKCR\.pdf' /ve /d PelnoTestPdf /f >/dev/null
wine reg add 'HKCR\PelnoTestPdf\shell\open\command' /ve \
  /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened.txt' /f >/dev/null

echo "== silent install"
start=$(now)
wine "$setup" /S
code=$?
install_time=$(seconds "$start" "$(now)")
check "the installer ends with 0 (it ended with $code)" [ "$code" = 0 ]
for file in PelnoCpl.exe Sarnet.dll Grell.dll UserManual.pdf Uninstall.exe Language/1033.ini; do
  check "$file in the program folder" [ -s "$folder/$file" ]
done
for lang in "$root"/res/Language/*.ini; do
  check "language file $(basename "$lang") installed" cmp "$lang" "$folder/Language/$(basename "$lang")"
done
check "null.cur in the cursors folder" cmp "$root/res/null.cur" "$cursor"
check "the Start-menu shortcut" [ -s "$shortcut" ]
check "the uninstall entry" sh -c "wine reg query '$uninstall_key' /v UninstallString | grep -q 'Uninstall.exe'"

echo "== the installed program, two virtual touchscreens"
logs="$prefix/frames"
mkdir -p "$logs"
scenario="$prefix/two-frames.ini"
printf '[Frame0]\r\nLogFile=%s\r\n[Frame1]\r\nLogFile=%s\r\nMonitor=0\r\n' \
  "$(winepath -w "$logs/frame0.log")" "$(winepath -w "$logs/frame1.log")" >"$scenario"
PELNOCPL_SIMULATE="$(winepath -w "$scenario")" wine "$folder/PelnoCpl.exe" </dev/null >/dev/null 2>&1 &
program=$!
window=""
find_window() { window=$(xdotool search --onlyvisible --name '^TouchScreen Control Panel$' | head -n 1) && [ -n "$window" ]; }
check "the main window appears" wait_for 30 find_window
# The start-up query asks each touchscreen for its version: both frames hear it.
check "both touchscreens were asked" wait_for 15 sh -c "[ -s '$logs/frame0.log' ] && [ -s '$logs/frame1.log' ]"
if [ -n "$window" ]; then
  sleep 1.5 # the list is filled (about half a second per touchscreen)
  # Help and Exit, bottom right in the 452 x 509 window.
  xdotool mousemove --window "$window" 312 488 click 1
  check "Help opens the installed manual" wait_for 15 \
    sh -c "grep -qi 'Program Files.TouchScreen Control Panel.UserManual.pdf' '$drive/opened.txt'"
  xdotool mousemove --window "$window" 397 488 click 1
fi
wait_for 15 sh -c "! kill -0 $program" || kill "$program" 2>/dev/null
wait "$program" 2>/dev/null

echo "== silent uninstall"
start=$(now)
wine "$folder/Uninstall.exe" /S
# The uninstaller runs from a copy of itself; it is done once the folder and
# its uninstall entry are gone.
wait_for 60 absent "$folder"
wait_for 30 reg_absent "$uninstall_key"
uninstall_time=$(seconds "$start" "$(now)")
check "the program folder is gone" absent "$folder"
check "null.cur is gone" absent "$cursor"
check "the Start-menu shortcut is gone" absent "$shortcut"
check "the uninstall entry is gone" reg_absent "$uninstall_key"
wine reg export "$driver_key" "$(winepath -w "$prefix/driver-after.reg")" /y >/dev/null
check "the driver's parameters are as they were" cmp "$prefix/driver-before.reg" "$prefix/driver-after.reg"
cursor_value() { wine reg query "$cursors_key" /v "$1" | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
check "Arrow has its kept cursor back" [ "$(cursor_value Arrow)" = 'C:\kept\arrow.cur' ]
check "Wait is the system's default again" [ -z "$(cursor_value Wait)" ]
check "Hand, the user's own choice, is left alone" [ "$(cursor_value Hand)" = 'C:\mine\hand.cur' ]
check "the kept cursors are gone" reg_absent 'HKCU\Software\Pelno Touch Systems'

echo "installer $(stat -c %s "$setup") bytes; install ${install_time} s; uninstall ${uninstall_time} s (Wine)"
[ "$failures" = 0 ]
