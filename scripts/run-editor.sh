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

# A first install into ~/.local/bin reaches PATH only at the next login (Debian's ~/.profile adds
# the folder when it exists), and another prefix perhaps never: say how to start it until then.
bin=$(realpath -e -- "$prefix/bin")
echo "Installed gridkiln and gridkiln-bmp in $bin (data in $(realpath -e -- "$prefix/share"))."
on_path=no
IFS=: read -ra path_dirs <<<"${PATH:-}"
for dir in "${path_dirs[@]}"; do
  if [ -n "$dir" ] && [ "$(realpath -qe -- "$dir")" = "$bin" ]; then on_path=yes; fi
done
if [ "$on_path" = no ]; then
  echo "$bin is not on your PATH yet. Until it is, start the editor as"
  echo "    $bin/gridkiln"
  echo "or put the folder on PATH in this shell (or for every login, in ~/.profile):"
  echo "    export PATH=\"$bin:\$PATH\""
  if [ "$bin" = "$(realpath -m -- "$HOME/.local/bin")" ]; then
    echo "Debian's ~/.profile puts $bin on PATH from your next login."
  fi
fi
exec "$bin/gridkiln"
