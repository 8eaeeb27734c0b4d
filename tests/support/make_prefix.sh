#!/bin/bash
# Makes a pristine Wine prefix: wineboot, then the user's shell folders turned
# from links into the Unix home into real folders and drive Z: (the host's
# root) removed, so that nothing a test writes (desktop shortcuts, a target
# on the wrong drive) leaves the prefix.
set -eu
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix
log=$prefix.wineboot.log
# wineboot now and then fails on a busy machine: a fresh try, with what it said
for attempt in 1 2 3; do
  rm -rf "$prefix"
  if wineboot -i >"$log" 2>&1 && wineserver -w && [ -f "$prefix/system.reg" ]; then break; fi
  echo "wineboot failed (attempt $attempt):" >&2
  tail -n 5 "$log" >&2
  wineserver -k 2>/dev/null || true
  [ "$attempt" -lt 3 ] || exit 1
done
rm -f "$log"
for user in "$prefix"/drive_c/users/*; do
  [ -d "$user" ] || continue
  find "$user" -maxdepth 2 -type l | while read -r link; do
    rm -f "$link"
    mkdir -p "$link"
  done
done
rm -f "$prefix/dosdevices/z:"
test -f "$prefix/system.reg"
echo "template prefix ready: $prefix"
