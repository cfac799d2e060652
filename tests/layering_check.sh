#!/usr/bin/env bash
# Fails when a folder includes a header of a folder it may not use, or when a folder meant to be
# free of Qt includes a Qt header. Each folder may use its own headers and those of the folders
# listed for it; the lists form one direction, from app/ down to image/ and filesystem/.
set -euo pipefail
root=${1:-$(dirname "$0")/..}

declare -A allowed=(
  [image]=""
  [filesystem]=""
  [settings]="filesystem"
  [editor]="image filesystem settings"
  [widgets]="image filesystem settings editor"
  [app]="image filesystem settings editor widgets"
)
qt_free=(image filesystem settings editor)

failed=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r file; do
    while IFS= read -r line; do
      included=${line#*\"}
      included=${included%%\"*}
      target=${included%%/*}
      # Only project folders are checked; a header without a folder is the file's own business.
      [ "$target" = "$included" ] && continue
      [ -v "allowed[$target]" ] || continue
      if [ "$target" != "$folder" ] && [[ " ${allowed[$folder]} " != *" $target "* ]]; then
        echo "${file#"$root"/}: includes $included, but $folder/ may not use $target/" >&2
        failed=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done < <(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' \))
done

for folder in "${qt_free[@]}"; do
  while IFS= read -r hit; do
    echo "${hit#"$root"/}: $folder/ is free of Qt" >&2
    failed=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$root/$folder" \
             --include='*.h' --include='*.cpp' || true)
done

if [ "$failed" -ne 0 ]; then
  echo "Dependencies must point one way: app -> widgets -> editor -> settings -> filesystem," >&2
  echo "editor -> image; image, filesystem, settings and editor include no Qt header." >&2
  exit 1
fi
echo "Every include points the allowed way, and the Qt-free folders include no Qt header."
