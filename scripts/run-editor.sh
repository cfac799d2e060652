#!/usr/bin/env bash
# Installs what is missing, builds the editor (without the tests), installs it for the current
# user and starts the installed copy, which keeps settings and drawings in the user's own
# folders, never in the build tree. PREFIX chooses where (default ~/.local); a prefix the user
# may not write (/usr/local) is installed through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${PREFIX:-$HOME/.local}
scripts/install-deps.sh editor
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGK_TESTS=OFF
cmake --build build
sudo=""
existing=$prefix
while [ ! -e "$existing" ]; do existing=$(dirname "$existing"); done
if [ "$(id -u)" -ne 0 ] && [ ! -w "$existing" ]; then sudo="sudo"; fi
$sudo cmake --install build --prefix "$prefix" --strip
exec "$prefix/bin/gridkiln"
