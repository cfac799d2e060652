#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGK_TESTS=OFF
cmake --build build --target gridkiln gridkiln-bmp gk_assets
exec build/app/gridkiln
