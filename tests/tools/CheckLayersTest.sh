#!/bin/sh
# The layer check itself: it passes on this tree, and fails, naming the
# file and line, on a tree where one include points up the table or a
# portable source includes Windows-only code.
#   CheckLayersTest.sh <check-layers> <source tree>
set -u
check=$1
tree=$2
fail() { echo "FAIL: $*"; exit 1; }

"$check" "$tree" || fail "the tree breaks its own layers"

planted=$(mktemp -d)
trap 'rm -rf "$planted"' EXIT
mkdir -p "$planted/device" "$planted/common" "$planted/app"
printf '#pragma once\n#include "common/Log.h"\n' >"$planted/device/Engine.h"
printf '#pragma once\n' >"$planted/common/Log.h"
printf '#include "device/Engine.h"\n' >"$planted/app/Main.cpp"
"$check" "$planted" >/dev/null 2>&1 || fail "a downward include was refused"

printf '#pragma once\n#include <string>\n\n#include "app/Main.h"\n' >"$planted/device/Upward.h"
out=$("$check" "$planted" 2>&1) && fail "an upward include passed"
echo "$out" | grep -q "device/Upward.h:4: device/ may not include app/" || fail "the report does not name it: $out"
rm "$planted/device/Upward.h"

# Windows-only code shows in its name: a portable source that includes a
# Windows header fails, the same include in a *_win32 source passes.
printf '#include <windows.h>\n' >"$planted/device/Port_win32.cpp"
"$check" "$planted" >/dev/null 2>&1 || fail "a _win32 source was refused <windows.h>"
for include in '<windows.h>' '"win/Dialog.h"' '"device/Port_win32.h"'; do
  printf '#pragma once\n#include %s\n' "$include" >"$planted/device/Portable.h"
  out=$("$check" "$planted" 2>&1) && fail "a portable source passed with $include"
  echo "$out" | grep -q "device/Portable.h:2: a portable source may not include $include" ||
    fail "the report does not name $include: $out"
done
rm "$planted/device/Portable.h" "$planted/device/Port_win32.cpp"

mkdir -p "$planted/newlayer"
printf 'int x;\n' >"$planted/newlayer/X.cpp"
"$check" "$planted" >/dev/null 2>&1 && fail "a folder outside the table passed"
echo "check-layers: all cases passed"
