#!/bin/bash
# The program's folders in layers, lowest first; a file includes only from its
# own layer or below (resources/ holds data that any layer may read). A quick
# first signal: a call into a higher layer fails the build (cmake/layers.cmake).
#   check_layers.sh SOURCE_DIR
set -u
cd "$1"
layers=(platform framework register install wizard app)
status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  for ((j = i + 1; j < ${#layers[@]}; j++)); do
    if grep -n "#include \"${layers[j]}/" "${layers[i]}"/*.cpp "${layers[i]}"/*.h 2>/dev/null; then
      echo "${layers[i]}/ includes from ${layers[j]}/, a higher layer" >&2
      status=1
    fi
  done
done
exit $status
