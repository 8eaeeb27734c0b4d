#!/bin/bash
# Fails when the program imports at load time anything but kernel32 and msvcrt:
# every other system library is delay-loaded, after the library search has
# been limited to the system folder, so that none can be planted beside it.
#   check_imports.sh OBJDUMP PROGRAM.exe
set -eu
objdump=$1
program=$2
allowed=" kernel32.dll msvcrt.dll "
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$imports" ]; then
  echo "no import table found in $program"
  exit 1
fi
bad=0
for dll in $imports; do
  case "$allowed" in
    *" $dll "*) echo "ok      $dll" ;;
    *) echo "refused $dll"; bad=1 ;;
  esac
done
exit $bad
