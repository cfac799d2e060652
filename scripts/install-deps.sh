#!/usr/bin/env bash
# Installs the Debian 12 packages a command needs, when missing.
# Usage: scripts/install-deps.sh [editor|all]
#   editor  building, installing, packaging and running the editor (scripts/run-editor.sh)
#   all     that, and the tests, benchmarks, fuzz targets and end-to-end journeys (the default)
set -euo pipefail
editor=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libpng-dev qt6-qpa-plugins
  fonts-ipafont-gothic dpkg-dev file)
tests=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool imagemagick
  appstream libxdamage-dev lintian man-db)
case "${1:-all}" in
  editor) packages=("${editor[@]}") ;;
  all) packages=("${editor[@]}" "${tests[@]}") ;;
  *)
    echo "usage: $0 [editor|all]" >&2
    exit 2
    ;;
esac
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
