#!/bin/bash
# CTest's emulator for the Windows test programs: runs one program in a fresh
# copy of the template prefix, with one persistent wineserver for its run.
#
# PHOTARIUM_TMPFS_DRIVES, when set, lists small file systems to give the
# program as extra drives, separated by blanks: LETTER:SIZE[:ro[:SEED]], e.g.
# "t:1M r:64k:ro:/path/seed". Each is a tmpfs of that size mounted inside the
# prefix and linked as drive LETTER:; with "ro" it is filled with a copy of
# SEED (when given) and then remounted read-only. When mounting is not
# permitted, the program sees PHOTARIUM_TMPFS_UNAVAILABLE with the reason.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"
root=${PHOTARIUM_PREFIX_ROOT:?}
name=${PHOTARIUM_TEST_NAME:-$(basename "$1" .exe)}
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
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
