# Sourced by scripts/demo: the viewer's settings file(s) the installation left,
# decoded. The active one is UTF-16 (FF FE first), a program file that only
# points elsewhere stays narrow text.
echo
echo "== settings files"
found=0
for ini in "$target/photar64.ini" "$c"/users/*/AppData/Roaming/Photarium/photar64.ini; do
  [ -f "$ini" ] || continue
  found=1
  rel=${ini#"$c"/}
  if [ "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' ')" = "fffe" ]; then
    echo "-- C:\\${rel//\//\\} (UTF-16LE with byte-order mark)"
    iconv -f utf-16 -t utf-8 "$ini" | tr -d '\r' | sed 's/^/  /'
  else
    echo "-- C:\\${rel//\//\\} (narrow text, Windows-1252)"
    iconv -f windows-1252 -t utf-8 "$ini" | tr -d '\r' | sed 's/^/  /'
  fi
  if [ -f "${ini}_temp" ]; then echo "  (a conversion left ${ini##*/}_temp beside it)"; fi
done
[ "$found" = 1 ] || echo "  (none)"
