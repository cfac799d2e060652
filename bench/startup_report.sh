#!/usr/bin/env bash
# Start-up time (process start to the first window visible) and resident memory at idle of the
# editor, against a minimal Qt 6 window program timed the same way, under Xvfb.
# Usage: bench/startup_report.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build-release}
runs=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
number=300
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=":$number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { echo "Xvfb did not start on $display" >&2; exit 1; }

appdir=$(mktemp -d)
cp "$build/app/gridkiln" "$root/assets/palette.bmp" "$appdir/"
mkdir "$appdir/bmp"

# Prints "<milliseconds> <resident KiB>" for one start of the program.
measure() {
  local start end pid rss
  start=$(date +%s%N)
  "$@" >/dev/null 2>/dev/null &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$1 ended without a window" >&2; exit 1; }
    sleep 0.002
  done
  end=$(date +%s%N)
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $rss"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

declare -A ms kib
for name in minimal gridkiln; do
  : > "/tmp/startup_$name.txt"
  for _ in $(seq "$runs"); do
    if [ "$name" = minimal ]; then measure "$build/bench/minimal_window"; else
      (cd "$appdir" && measure ./gridkiln); fi >> "/tmp/startup_$name.txt"
  done
  ms[$name]=$(cut -d' ' -f1 "/tmp/startup_$name.txt" | median)
  kib[$name]=$(cut -d' ' -f2 "/tmp/startup_$name.txt" | median)
done
rm -rf "$appdir"
echo "start-up to window shown (median of $runs): minimal ${ms[minimal]} ms, gridkiln ${ms[gridkiln]} ms, ratio $(awk "BEGIN {printf \"%.2f\", ${ms[gridkiln]}/${ms[minimal]}}")"
echo "resident memory at idle (median): minimal ${kib[minimal]} KiB, gridkiln ${kib[gridkiln]} KiB, ratio $(awk "BEGIN {printf \"%.2f\", ${kib[gridkiln]}/${kib[minimal]}}")"
