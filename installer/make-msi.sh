#!/bin/sh
# Builds PelnoCpl.msi from a windows build folder's runnable tree (bin/) and
# its custom-action DLL (installer/MsiActions.dll) with wixl: installer/PelnoCpl.wxs
# and a fragment with every bin/Language/*.ini, written here. wixl writes no
# component conditions, so msibuild gives the invisible cursor's its own.
# Usage: make-msi.sh <build folder> <version, four numbers> <output .msi>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
version=$2
case $3 in /*) out=$3 ;; *) out=$(pwd)/$3 ;; esac
cd "$build"
mkdir -p installer
# wixl finds sources only by paths relative to the current folder.
res=$(realpath --relative-to="$build" "$here/../res")
fragment=installer/Language.wxs
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  echo '  <DirectoryRef Id="LanguageFolder">'
  for file in bin/Language/*.ini; do
    id=Language_$(basename "$file" .ini)
    echo "    <Component Id=\"$id\" Guid=\"*\" Win64=\"yes\"><File Id=\"$id.ini\" Source=\"$file\" KeyPath=\"yes\"/></Component>"
  done
  echo '  </DirectoryRef>'
  echo '  <ComponentGroup Id="LanguageFiles">'
  for file in bin/Language/*.ini; do
    echo "    <ComponentRef Id=\"Language_$(basename "$file" .ini)\"/>"
  done
  echo '  </ComponentGroup>'
  echo '</Fragment></Wix>'
} >"$fragment"
wixl -a x64 -D PelnoBin=bin -D PelnoRes="$res" -D PelnoVersion="$version" -D PelnoActions=installer/MsiActions.dll \
  -o "$out.tmp" "$here/PelnoCpl.wxs" "$fragment"
msibuild "$out.tmp" -q "UPDATE Component SET Condition = 'NOT PELNO_CURSOR_FOUND OR PELNO_CURSOR_INSTALLED' WHERE Component = 'InvisibleCursor'"
mv "$out.tmp" "$out"
