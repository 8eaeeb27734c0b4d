#!/bin/bash
# Fails when the setup program without its archive grows past 168 KB, or when
# its sections are not page-aligned in the file (the loader would then read
# the whole archive in at start instead of mapping it). The padding up to the
# page boundaries counts: it is part of every download.
#   check_layout.sh OBJDUMP PROGRAM.exe ARCHIVE.zip
set -eu
objdump=$1
program=$2
archive=$3
# 150 KB until the keyboard, screen-reader, account and settings-file work
# added 24 KB, 160 KB until the all-or-nothing commit, the opens by name in
# their folders and the Restart Manager added 8 KB; the benchmark's 150 KB
# target is missed by 14 KB until a size pass wins it back
limit=$((168 * 1024))
stub=$(( $(stat -c %s "$program") - $(stat -c %s "$archive") ))
alignment=$("$objdump" -p "$program" | sed -n 's/^FileAlignment[[:space:]]*//p')
echo "without its archive: $stub bytes (at most $limit); file alignment: $alignment"
bad=0
if [ "$stub" -gt "$limit" ]; then
  echo "too large"; bad=1
fi
if [ "$alignment" != "00001000" ]; then
  echo "sections not page-aligned in the file"; bad=1
fi
exit $bad
