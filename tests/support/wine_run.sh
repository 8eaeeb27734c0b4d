#!/bin/bash
# CTest's emulator for the Windows test programs: runs one program in a fresh
# copy of the template prefix, with one persistent wineserver for its run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"
root=${PHOTARIUM_PREFIX_ROOT:?}
name=${PHOTARIUM_TEST_NAME:-$(basename "$1" .exe)}
prefix=$root/$name
rm -rf "$prefix"
cp -a "$root/template" "$prefix"
export WINEPREFIX=$prefix
wineserver -p
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
