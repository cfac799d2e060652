#!/usr/bin/env bash
# Start-up (process start to its first window mapped, and to the program's first drawing into
# it) and resident memory at idle of the editor, against a minimal Qt 6 window program with a
# menu bar and a 592 x 592 picture (and the same program's bare window), and against mtPaint
# when it is installed, all in one private Xvfb server. The programs take turns run by run, so
# that the machine's load falls on all of them alike.
# Usage: bench/startup_report.sh [build-dir] [runs]
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
runs=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
timer="$build/bench/first_paint"
[ -x "$timer" ] || { echo "$timer is missing (it needs libxdamage-dev)" >&2; exit 1; }

number=300
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=":$number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { echo "Xvfb did not start on $display" >&2; exit 1; }

appdir="$work/app"
mkdir -p "$appdir/bmp"
cp "$build/app/gridkiln" "$root/assets/palette.bmp" "$appdir/"

names=(minimal bare gridkiln)
if command -v mtpaint >/dev/null; then
  names+=(mtpaint)
  mkdir -p "$work/home"
else
  echo "mtPaint is not installed (command -v mtpaint found nothing): not measured"
fi

# Appends "<mapped ms> <drawn ms> <resident KiB>" of one start of a program to its file.
measure() {
  local name=$1 timing=$work/timing mapped drawn pid
  : > "$timing"
  case $name in
    minimal) "$timer" "$build/bench/minimal_window" > "$timing" & ;;
    bare) "$timer" "$build/bench/minimal_window" --bare > "$timing" & ;;
    gridkiln) (cd "$appdir" && exec "$timer" ./gridkiln) > "$timing" & ;;
    mtpaint) HOME="$work/home" "$timer" mtpaint > "$timing" & ;;
  esac
  local waiter=$!
  until [ -s "$timing" ]; do
    kill -0 "$waiter" 2>/dev/null || { echo "$name: no window drawn" >&2; exit 1; }
    sleep 0.05
  done
  read -r mapped drawn pid < "$timing"
  sleep 1
  echo "$mapped $drawn $(awk '/VmRSS/ {print $2}' "/proc/$pid/status")" >> "$work/$name.txt"
  kill "$pid"
  wait "$waiter"
}

for _ in $(seq "$runs"); do
  for name in "${names[@]}"; do measure "$name"; done
done

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
fastest() { sort -n | head -n 1; }
column() { cut -d' ' -f"$2" "$work/$1.txt" | $3; }
ratio() { awk "BEGIN {printf \"%.2f\", $1 / $2}"; }

echo "$runs starts each, programs taking turns (median, and fastest start in brackets):"
printf "%-10s %16s %16s %14s\n" program "mapped ms" "drawn ms" "resident KiB"
for name in "${names[@]}"; do
  printf "%-10s %16s %16s %14s\n" "$name" \
    "$(column "$name" 1 median) ($(column "$name" 1 fastest))" \
    "$(column "$name" 2 median) ($(column "$name" 2 fastest))" "$(column "$name" 3 median)"
done
for name in "${names[@]}"; do
  [ "$name" = minimal ] && continue
  echo "$name / minimal: first drawing $(ratio "$(column "$name" 2 median)" "$(column minimal 2 median)")x" \
    "(fastest $(ratio "$(column "$name" 2 fastest)" "$(column minimal 2 fastest)")x)," \
    "resident memory $(ratio "$(column "$name" 3 median)" "$(column minimal 3 median)")x"
done
