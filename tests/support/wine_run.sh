#!/bin/bash
# CTest's emulator for the Windows test programs: runs one program in a fresh
# copy of the template prefix, with one persistent wineserver for its run.
#   PHOTARIUM_XVFB_SCREEN=WxHxD  run it on an Xvfb screen of its own of that size
#   PHOTARIUM_LOGPIXELS=N        the prefix's pixels per inch (96 = 100 %)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=${PHOTARIUM_PREFIX_ROOT:?}
name=${PHOTARIUM_TEST_NAME:-$(basename "$1" .exe)}

if [ -n "${PHOTARIUM_XVFB_SCREEN:-}" ] && [ -z "${PHOTARIUM_OWN_SCREEN:-}" ]; then
  export PHOTARIUM_OWN_SCREEN=$PHOTARIUM_XVFB_SCREEN
  # parallel tests start their search for a free display at different numbers
  start=$(( 100 + $(printf '%s' "$name" | cksum | cut -d' ' -f1) % 400 ))
  exec xvfb-run -a -n "$start" -s "-screen 0 $PHOTARIUM_XVFB_SCREEN" "$0" "$@"
fi

. "$here/wine_env.sh"
prefix=$root/$name
rm -rf "$prefix"
cp -a "$root/template" "$prefix"
export WINEPREFIX=$prefix
wineserver -p
if [ -n "${PHOTARIUM_LOGPIXELS:-}" ]; then
  # read once when a process starts, so set before the test program runs
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$PHOTARIUM_LOGPIXELS" /f >/dev/null 2>&1
fi
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
