#!/bin/bash
# Makes a pristine Wine prefix: wineboot, then the user's shell folders turned
# from links into the Unix home into real folders and drive Z: (the host's
# root) removed, so that nothing a test writes (desktop shortcuts, a target
# on the wrong drive) leaves the prefix.
set -eu
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix
wineboot -i >/dev/null 2>&1
wineserver -w
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
