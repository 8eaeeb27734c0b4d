#!/bin/bash
# CTest's emulator for the Windows test programs: runs one program in a fresh
# copy of the template prefix, with one persistent wineserver for its run.
#   PHOTARIUM_XVFB_SCREEN=WxHxD  run it on an Xvfb screen of its own of that size
#   PHOTARIUM_LOGPIXELS=N        the prefix's pixels per inch (96 = 100 %)
#   PHOTARIUM_TMPFS_DRIVES="L:SIZE[:ro[:SEED]] ..."  small drives: a tmpfs of
#       that size per entry, mounted inside the prefix and linked as drive L:;
#       with "ro" filled with a copy of SEED (when given), then remounted
#       read-only. When mounting is not permitted, the program sees
#       PHOTARIUM_TMPFS_UNAVAILABLE with the reason.
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

unmount_drives() {
  # deepest first; a mount left by an aborted run goes too
  findmnt -rn -o TARGET 2>/dev/null | grep -F "$prefix/tmpfs/" | sort -r |
    while read -r mount_point; do umount "$mount_point" 2>/dev/null || umount -l "$mount_point"; done
}

mount_drives() {
  local drive letter size mode seed mount_point options message
  for drive in ${PHOTARIUM_TMPFS_DRIVES:-}; do
    IFS=: read -r letter size mode seed <<<"$drive"
    mount_point=$prefix/tmpfs/$letter
    mkdir -p "$mount_point"
    options=size=$size,mode=0777
    if ! message=$(mount -t tmpfs -o "$options" "photarium-$letter" "$mount_point" 2>&1); then
      export PHOTARIUM_TMPFS_UNAVAILABLE="cannot mount a tmpfs for drive $letter: (${message:-mount failed})"
      return
    fi
    if [ "$mode" = ro ]; then
      if [ -n "$seed" ] && [ -d "$seed" ]; then cp -a "$seed/." "$mount_point/"; fi
      if ! message=$(mount -o remount,ro "$mount_point" 2>&1); then
        export PHOTARIUM_TMPFS_UNAVAILABLE="cannot remount drive $letter read-only: ($message)"
        return
      fi
    fi
    ln -sfn "$mount_point" "$prefix/dosdevices/$letter:"
  done
}

unmount_drives
rm -rf "$prefix"
cp -a "$root/template" "$prefix"
export WINEPREFIX=$prefix
if [ -n "${PHOTARIUM_TMPFS_DRIVES:-}" ]; then
  trap unmount_drives EXIT
  mount_drives
fi
wineserver -p
if [ -n "${PHOTARIUM_LOGPIXELS:-}" ]; then
  # read once when a process starts, so set before the test program runs;
  # checked, as one run under load once left the program at 96
  for attempt in 1 2 3; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d "$PHOTARIUM_LOGPIXELS" /f >/dev/null 2>&1
    wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null |
      grep -qi "$(printf '0x%x' "$PHOTARIUM_LOGPIXELS")" && break
    echo "LogPixels not set (attempt $attempt)" >&2
  done
fi
link_build_drive "$prefix" "${PHOTARIUM_BUILD_ROOT:?}"
# started from the prefix's own C: drive, as the programs they start are
cd "$prefix/drive_c"
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
# a prefix takes about 700 MB: keep it only to look into a failure
if [ "$rc" = 0 ] && [ -z "${PHOTARIUM_KEEP_PREFIXES:-}" ]; then
  unmount_drives
  rm -rf "$prefix"
fi
exit $rc
