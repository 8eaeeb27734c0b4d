# Shared by scripts/demo and scripts/demo-wizard (sourced after common.sh and
# wine_env.sh): a fresh prefix, and the report of what an installation left.

# A fresh prefix at $1 with the build folder as drive X: and its server
# started; sets WINEPREFIX and c (the prefix's C: drive as a Unix folder).
fresh_prefix() {
  export WINEPREFIX=$1
  # a server left from an earlier run would keep its old display
  if [ -d "$1" ]; then wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; fi
  "$ROOT/tests/support/make_prefix.sh" "$1" >/dev/null
  link_build_drive "$1" "$BUILD_DIR"
  wineserver -p >/dev/null 2>&1
  c=$1/drive_c
}

# What an installation into the Unix folder $1 left: its files, then the parts
# of scripts/demo.d (settings files, registry entries, shortcuts). Fails when
# the folder does not exist.
report_installation() {
  target=$1
  local status=0
  echo
  echo "== installed tree"
  if [ -n "$target" ] && [ -d "$target" ]; then
    (cd "$(dirname "$target")" && find "$(basename "$target")" | sort | sed 's/^/  /')
  else
    echo "  (none)"
    status=1
  fi
  cd "$c"  # Wine's tools below start in the prefix, not in a Unix folder
  local extra
  for extra in "$ROOT"/scripts/demo.d/*.sh; do
    [ -f "$extra" ] && . "$extra"
  done
  return $status
}
