#!/bin/bash
# Fails unless the program carries its manifest (resource type 24) with the
# execution level, DPI awareness and common controls 6.0 that it depends on.
#   check_manifest.sh PROGRAM.exe
set -eu
manifest=$(grep -a -o '<assembly.*</assembly>' "$1" | tr -d '\r' || true)
if [ -z "$manifest" ]; then
  manifest=$(tr -d '\r\n' <"$1" | grep -a -o '<assembly.*</assembly>' || true)
fi
bad=0
for want in 'level="highestAvailable"' '>true</dpiAware>' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  if printf '%s' "$manifest" | tr -s ' ' | grep -q -F "$want"; then
    echo "ok      $want"
  else
    echo "missing $want"; bad=1
  fi
done
exit $bad
