# Sourced by scripts/demo: the shortcut files the installation made, read back
# through IShellLinkW (target, arguments, icon, description).
echo
echo "== shortcuts"
_lnk_files=()
while IFS= read -r -d '' _lnk; do
  _lnk_files+=("C:\\$(echo "${_lnk#$c/}" | tr '/' '\\')")
done < <(find "$c/users" "$c/ProgramData" \( -path '*/Desktop/*' -o -path '*/Programs/Photarium/*' \) \
           -name '*.lnk' -print0 2>/dev/null | sort -z)
if [ ${#_lnk_files[@]} -eq 0 ]; then
  echo "  (none)"
else
  wine "$BUILD_DIR/bin/lnk_dump.exe" "${_lnk_files[@]}" | tr -d '\r' | sed 's/^/  /'
fi
unset _lnk_files _lnk
