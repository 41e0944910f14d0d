#!/bin/sh
# PelnoCpl.msi end to end under Wine, in a fresh prefix of its own
# (build/wineprefix-msi, see installer-rig.sh): msiexec /i /qn puts every file,
# the cursor, the shortcut and the uninstall entry in place, and the installed
# program's Help opens the manual of the shown language (Chinese, Japanese);
# the same package again changes nothing; msiexec /x /qn removes all of it,
# puts the cursors back and keeps the driver's parameters byte for byte. With
# CONFIG the driver's parameters are what `-i` of the same file gives; a newer
# package replaces it in place; a refused CONFIG file fails the installation,
# which is rolled back. Prints the install and removal times.
# Usage: msi-test.sh <PelnoCpl.msi>      (needs DISPLAY, or starts Xvfb)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
msi=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -f "$msi" ] || { echo "no package at $1" >&2; exit 1; }
build=$(dirname "$msi")
. "$root/tests/windows/installer-rig.sh"
installer_prefix msi
# Wine's msiexec puts a per-machine package's shortcut into the installing
# user's Start menu (Windows: the Start menu of all users).
shortcut="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/TouchScreen Control Panel.lnk"
seed_machine
make_site_files
package=$(winepath -w "$msi")

# The uninstall entries MSI wrote for this product (one line per entry key).
entries() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {key = $0} $1 == "DisplayName" && /TouchScreen Control Panel/ && key ~ /\\{/ {print key}'
}
entry_version() { wine reg query "$(entries | head -n 1)" /v DisplayVersion | tr -d '\r' | awk '$1 == "DisplayVersion" {print $3}'; }
msiexec_code() { wine msiexec "$@" </dev/null >/dev/null 2>&1; echo $?; }

echo "== msiexec /i /qn"
start=$(now)
code=$(msiexec_code /i "$package" /qn)
install_time=$(seconds "$start" "$(now)")
check "msiexec /i ends with 0 (it ended with $code)" [ "$code" = 0 ]
check_installed "$build/bin"
check "one uninstall entry, version $(entry_version)" [ "$(entries | wc -l)" = 1 ]
check_program_and_help zh_CN UserManual-2052.pdf
check_program_and_help ja_JP UserManual-1041.pdf

echo "== the same package again"
code=$(msiexec_code /i "$package" /qn)
check "msiexec /i ends with 0 (it ended with $code)" [ "$code" = 0 ]
check "still one uninstall entry" [ "$(entries | wc -l)" = 1 ]
check "PelnoCpl.exe still in place" cmp "$build/bin/PelnoCpl.exe" "$folder/PelnoCpl.exe"

echo "== msiexec /x /qn"
start=$(now)
code=$(msiexec_code /x "$package" /qn)
uninstall_time=$(seconds "$start" "$(now)")
check "msiexec /x ends with 0 (it ended with $code)" [ "$code" = 0 ]
check_nothing_left "removed"
check "no uninstall entry" [ -z "$(entries)" ]
check_driver_and_cursors_kept

echo "== CONFIG: the site's settings, then a newer package"
code=$(msiexec_code /i "$package" /qn "CONFIG=$site")
check "msiexec /i ends with 0 (it ended with $code)" [ "$code" = 0 ]
driver_export "$prefix/driver-site.reg"
check "the driver's parameters are what -i of the file gives" cmp "$prefix/reference.reg" "$prefix/driver-site.reg"
old_version=$(entry_version)
sh "$root/installer/make-msi.sh" "$build" 2.99.0.0 "$prefix/newer.msi" >/dev/null 2>&1
code=$(msiexec_code /i "$(winepath -w "$prefix/newer.msi")" /qn)
check "the newer package ends with 0 (it ended with $code)" [ "$code" = 0 ]
check "one uninstall entry, now 2.99.0.0 (was $old_version)" [ "$(entries | wc -l)" = 1 -a "$(entry_version)" = 2.99.0.0 ]
check_installed "$build/bin"
code=$(msiexec_code /x "$(winepath -w "$prefix/newer.msi")" /qn)
check "msiexec /x of the newer package ends with 0 (it ended with $code)" [ "$code" = 0 ]
check_nothing_left "newer removed"
reset_driver

echo "== CONFIG: a file the import refuses"
code=$(msiexec_code /i "$package" /qn "CONFIG=$refused" /l*v 'C:\msi.log')
# A Unix exit status keeps the low byte: 1603 arrives as 67.
check "msiexec /i ends with 1603 (it ended with $code, 1603's low byte 67)" [ "$code" = $((1603 % 256)) ]
check_nothing_left "refused"
check "no uninstall entry" [ -z "$(entries)" ]
driver_export "$prefix/driver-after.reg"
check "the driver's parameters are as they were" cmp "$prefix/driver-before.reg" "$prefix/driver-after.reg"
check "the import's output is in the log" sh -c "iconv -f UTF-16 -t UTF-8 '$drive/msi.log' 2>/dev/null | grep -q 'PelnoCpl -i:' ||
  grep -q 'PelnoCpl -i:' '$drive/msi.log'"

echo "package $(stat -c %s "$msi") bytes; install ${install_time} s; removal ${uninstall_time} s (Wine)"
[ "$failures" = 0 ]
