#!/usr/bin/env bash
# Fails when a folder includes a header of a folder above it. The folders, lowest first:
# platform <- settings <- workspace <- files <- app. A folder may include its own headers and
# those of the folders below it.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
folders=(platform settings workspace files app)

rank() {
  local i
  for i in "${!folders[@]}"; do
    if [ "${folders[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

failed=0
for folder in "${folders[@]}"; do
  own=$(rank "$folder")
  while IFS= read -r file; do
    while IFS= read -r line; do
      included=${line#*\"}
      included=${included%%\"*}
      target=${included%%/*}
      other=$(rank "$target")
      if [ "$other" -gt "$own" ]; then
        echo "${file#"$root"/}: includes $included, but $target/ lies above $folder/" >&2
        failed=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done < <(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' \))
done

if [ "$failed" -ne 0 ]; then
  echo "Dependencies must point one way: ${folders[*]}" >&2
  exit 1
fi
echo "Every include points down: ${folders[*]}"
