#!/bin/bash
# Fails when the program imports a library outside the allowed system set.
#   check_imports.sh OBJDUMP PROGRAM.exe
set -eu
objdump=$1
program=$2
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll msvcrt.dll comctl32.dll "
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
