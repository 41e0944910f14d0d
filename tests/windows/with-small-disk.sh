#!/bin/sh
# Runs a Windows test program under Wine with PELNO_SMALL_DISK naming, as a
# Wine path, a 64 KiB tmpfs mounted at the folder given first; it is
# unmounted afterwards. Where it cannot be mounted (mounting needs root) the
# variable stays unset and the tests that need it skip.
# Usage: with-small-disk.sh <folder> <program> [arguments]
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=$1
shift
mkdir -p "$folder"
mountpoint -q "$folder" && umount "$folder"
if mount -t tmpfs -o size=64k tmpfs "$folder" 2>/dev/null; then
  PELNO_SMALL_DISK="Z:$(printf '%s' "$folder" | tr / '\\')"
  export PELNO_SMALL_DISK
  trap 'umount "$folder"' EXIT
fi
"$root/tools/wine-run" "$@"
