# What the installer tests (installer-test.sh, msi-test.sh) share; sourced
# with `root` set. `installer_prefix <name>` gives the test a fresh Wine
# prefix build/wineprefix-<name>, copied from a clean prefix made once
# (build/wineprefix-installer-clean), and starts Xvfb when there is no DISPLAY.

clean="$root/build/wineprefix-installer-clean"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

installer_prefix() {
  if [ ! -f "$clean/.pelnocpl-ready" ]; then
    rm -rf "$clean"
    WINEPREFIX="$clean" wineboot -i >/dev/null 2>&1
    "$root/tools/wine-fonts" "$clean"
    WINEPREFIX="$clean" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX="$clean" wineserver -w
    touch "$clean/.pelnocpl-ready"
  fi
  prefix="$root/build/wineprefix-$1"
  rm -rf "$prefix"
  cp -a "$clean" "$prefix" || exit 1
  export WINEPREFIX="$prefix"
  if [ -z "${DISPLAY:-}" ]; then
    . "$root/tools/xvfb-session"
    pelno_start_xvfb || exit 1
  fi
  trap 'wineserver -k >/dev/null 2>&1; [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID"' EXIT INT TERM
  (wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1
  drive="$prefix/drive_c"
  folder="$drive/Program Files/TouchScreen Control Panel"
  shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/TouchScreen Control Panel.lnk"
  cursor="$drive/windows/Cursors/null.cur"
}

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

driver_key='HKLM\SYSTEM\CurrentControlSet\Services\PelnoHID\Parameters\DriverParameters'
cursors_key='HKCU\Control Panel\Cursors'
driver_export() { wine reg export "$driver_key" "$(winepath -w "$1")" /y >/dev/null; }

# The driver's parameters as a calibrated installation has them, and a cursor
# scheme that "Hide Cursor" made: Arrow replaced (its value kept), Wait
# replaced with nothing kept, Hand chosen by the user since. PDF files open
# with a stand-in viewer that writes down the file it was given (Wine's shell
# takes the association from the machine's classes only).
seed_machine() {
  for value in Mode=2 EnableTouch=1 HideCursor=1 DoubleClickTime=700; do
    wine reg add "$driver_key" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null
  done
  wine reg add "$cursors_key" /v Arrow /t REG_EXPAND_SZ /d '%SYSTEMROOT%\Cursors\null.cur' /f >/dev/null
  wine reg add "$cursors_key" /v Wait /t REG_EXPAND_SZ /d '%SystemRoot%\cursors\NULL.CUR' /f >/dev/null
  wine reg add "$cursors_key" /v Hand /t REG_EXPAND_SZ /d 'C:\mine\hand.cur' /f >/dev/null
  wine reg add 'HKCU\Software\Pelno Touch Systems\TouchScreen Control Panel\Hidden Cursors' /v Arrow \
    /t REG_EXPAND_SZ /d 'C:\kept\arrow.cur' /f >/dev/null
  driver_export "$prefix/driver-before.reg"
  wine reg add 'HKCR\.pdf' /ve /d PelnoTestPdf /f >/dev/null
  wine reg add 'HKCR\PelnoTestPdf\shell\open\command' /ve \
    /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened.txt' /f >/dev/null
}

# Puts the driver's parameters back as seed_machine left them.
reset_driver() {
  wine reg delete "$driver_key" /f >/dev/null 2>&1
  wine reg import "$(winepath -w "$prefix/driver-before.reg")" >/dev/null 2>&1
}

# The site settings the installers import, the driver's parameters that `-i`
# of the same file by the program of the build gives (reference.reg), and a
# file the import refuses (no known value in it).
make_site_files() {
  printf '[DriverParameters]\r\nMode=1\r\nEnableBeep=1\r\nDoubleClickTime=900\r\nBeepFrequency=3000\r\n' >"$prefix/site.ini"
  printf '[Comments]\r\nNote=nothing the import knows\r\n' >"$prefix/refused.ini"
  wine "$root/build/windows/bin/PelnoCpl.exe" -i "$(winepath -w "$prefix/site.ini")" </dev/null >/dev/null 2>&1
  driver_export "$prefix/reference.reg"
  reset_driver
  site=$(winepath -w "$prefix/site.ini")
  refused=$(winepath -w "$prefix/refused.ini")
}

check_installed() { # check_installed <source tree's bin folder>
  for file in PelnoCpl.exe Sarnet.dll Grell.dll UserManual.pdf UserManual-2052.pdf UserManual-1041.pdf \
    Language/1033.ini; do
    check "$file in the program folder" cmp "$1/$file" "$folder/$file"
  done
  for lang in "$root"/res/Language/*.ini; do
    check "language file $(basename "$lang") installed" cmp "$lang" "$folder/Language/$(basename "$lang")"
  done
  check "null.cur in the cursors folder" cmp "$root/res/null.cur" "$cursor"
  check "the Start-menu shortcut" [ -s "$shortcut" ]
}

# Starts the installed program over two virtual touchscreens that log what
# they receive, clicks Help and checks the manual the viewer was handed, then
# Exit. LC_ALL chooses the language.
check_program_and_help() { # check_program_and_help <locale> <manual file>
  logs="$prefix/frames"
  rm -rf "$logs" "$drive/opened.txt"
  mkdir -p "$logs"
  scenario="$prefix/two-frames.ini"
  printf '[Frame0]\r\nLogFile=%s\r\n[Frame1]\r\nLogFile=%s\r\nMonitor=0\r\n' \
    "$(winepath -w "$logs/frame0.log")" "$(winepath -w "$logs/frame1.log")" >"$scenario"
  LC_ALL=$1.UTF-8 PELNOCPL_SIMULATE="$(winepath -w "$scenario")" wine "$folder/PelnoCpl.exe" </dev/null >/dev/null 2>&1 &
  program=$!
  window=""
  check "the main window appears ($1)" wait_for 30 find_main_window
  # The start-up query asks each touchscreen for its version: both frames hear it.
  check "both touchscreens were asked" wait_for 15 sh -c "[ -s '$logs/frame0.log' ] && [ -s '$logs/frame1.log' ]"
  if [ -n "$window" ]; then
    sleep 1.5 # the list is filled (about half a second per touchscreen)
    # Help and Exit, bottom right: in the 452 x 509 window at x 312 and 397;
    # the Chinese and Japanese window is narrower (389), the buttons in scale.
    width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
    xdotool mousemove --window "$window" $((width * 312 / 452)) 488 click 1
    check "Help opens the installed $2 ($1)" wait_for 15 \
      sh -c "grep -qi 'Program Files.TouchScreen Control Panel.$2' '$drive/opened.txt'"
    xdotool mousemove --window "$window" $((width * 397 / 452)) 488 click 1
    check "Exit ends the program ($1)" wait_for 15 sh -c "! kill -0 $program"
  fi
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
  # One that is left would hold its files and refuse the next import as
  # "already running".
  wine taskkill /f /im PelnoCpl.exe </dev/null >/dev/null 2>&1
}
find_main_window() {
  window=$(xdotool search --onlyvisible --class 'pelnocpl.exe' | head -n 1) && [ -n "$window" ]
}

# After a removal: the driver's parameters byte for byte as before, the
# cursors "Hide Cursor" replaced put back, the user's own left alone.
check_driver_and_cursors_kept() {
  driver_export "$prefix/driver-after.reg"
  check "the driver's parameters are as they were" cmp "$prefix/driver-before.reg" "$prefix/driver-after.reg"
  cursor_value() { wine reg query "$cursors_key" /v "$1" | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
  check "Arrow has its kept cursor back" [ "$(cursor_value Arrow)" = 'C:\kept\arrow.cur' ]
  check "Wait is the system's default again" [ -z "$(cursor_value Wait)" ]
  check "Hand, the user's own choice, is left alone" [ "$(cursor_value Hand)" = 'C:\mine\hand.cur' ]
  check "the kept cursors are gone" reg_absent 'HKCU\Software\Pelno Touch Systems'
}

# Nothing of the program is left: files, cursor, shortcut.
check_nothing_left() { # check_nothing_left <when>
  check "the program folder is gone ($1)" absent "$folder"
  check "null.cur is gone ($1)" absent "$cursor"
  check "the Start-menu shortcut is gone ($1)" absent "$shortcut"
}
