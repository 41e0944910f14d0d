#!/bin/sh
# The installer end to end under Wine, in a fresh prefix of its own
# (build/wineprefix-installer, see installer-rig.sh): a silent install puts
# every file, the cursor, the Start-menu entry and the uninstall entry in
# place; the installed program starts with two virtual touchscreens and its
# Help opens the installed manual; a silent uninstall removes all of it, puts
# back the cursors "Hide Cursor" replaced, and leaves the driver's parameters
# as they were. Then /CONFIG: the driver's parameters afterwards are what
# `-i` of the same file gives, and a refused file ends the installer with 2
# and leaves nothing of the program. Prints the install and uninstall times.
# Usage: installer-test.sh <PelnoCplSetup.exe>      (needs DISPLAY, or starts Xvfb)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -f "$setup" ] || { echo "no installer at $1" >&2; exit 1; }
. "$root/tests/windows/installer-rig.sh"
installer_prefix installer
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PelnoCpl'
seed_machine
make_site_files

echo "== silent install"
start=$(now)
wine "$setup" /S
code=$?
install_time=$(seconds "$start" "$(now)")
check "the installer ends with 0 (it ended with $code)" [ "$code" = 0 ]
check_installed "$(dirname "$setup")/bin"
check "Uninstall.exe in the program folder" [ -s "$folder/Uninstall.exe" ]
check "the uninstall entry" sh -c "wine reg query '$uninstall_key' /v UninstallString | grep -q 'Uninstall.exe'"

echo "== the installed program, two virtual touchscreens"
check_program_and_help en_US UserManual.pdf

uninstall() {
  wine "$folder/Uninstall.exe" /S
  # The uninstaller runs from a copy of itself; it is done once the folder and
  # its uninstall entry are gone.
  wait_for 60 absent "$folder"
  wait_for 30 reg_absent "$uninstall_key"
}
echo "== silent uninstall"
start=$(now)
uninstall
uninstall_time=$(seconds "$start" "$(now)")
check_nothing_left "uninstalled"
check "the uninstall entry is gone" reg_absent "$uninstall_key"
check_driver_and_cursors_kept

echo "== /CONFIG: the site's settings"
wine "$setup" /S "/CONFIG=$site"
code=$?
check "the installer ends with 0 (it ended with $code)" [ "$code" = 0 ]
driver_export "$prefix/driver-site.reg"
check "the driver's parameters are what -i of the file gives" cmp "$prefix/reference.reg" "$prefix/driver-site.reg"
uninstall
reset_driver

echo "== /CONFIG: a file the import refuses"
wine "$setup" /S "/CONFIG=$refused"
code=$?
check "the installer ends with 2 (it ended with $code)" [ "$code" = 2 ]
check_nothing_left "refused"
check "no uninstall entry" reg_absent "$uninstall_key"
driver_export "$prefix/driver-after.reg"
check "the driver's parameters are as they were" cmp "$prefix/driver-before.reg" "$prefix/driver-after.reg"
log=$(find "$drive/users" -name PelnoCplSetup.log | head -n 1)
check "the import's reason is in %TEMP%\\PelnoCplSetup.log" grep -q "exit code 1" "$log"

echo "installer $(stat -c %s "$setup") bytes; install ${install_time} s; uninstall ${uninstall_time} s (Wine)"
[ "$failures" = 0 ]
