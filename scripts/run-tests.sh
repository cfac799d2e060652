#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and window tests, the same
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a bounded
# time, and the end-to-end suite in a real X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all
jobs=$(nproc)
fuzz_seconds=${GK_FUZZ_SECONDS:-60}

echo "== Build and unit tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGK_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs" -LE e2e

echo "== Sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGK_SANITIZE=ON -DGK_TESTS=ON
cmake --build build-asan
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE e2e

echo "== Fuzzing, ${fuzz_seconds}s a target"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGK_FUZZ=ON
cmake --build build-fuzz
# fuzz TARGET SECONDS [OPTION...]: one run from a copy of the target's corpus.
fuzz() {
  local target=$1 seconds=$2 name work
  shift 2
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "fuzz/corpus/${name%_fuzz}/." "$work/" 2>/dev/null || true
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$@" "$work" 2>&1 |
    tail -n 12
  rm -rf "$work"
}
for target in build-fuzz/fuzz/*_fuzz; do
  case $(basename "$target") in
    bmp_reader_fuzz | png_reader_fuzz)
      # The readers share their time with a run on inputs up to 64 KiB, which reach a full
      # 256-colour table followed by long runs of pixels.
      short=$(((fuzz_seconds + 1) / 2))
      fuzz "$target" "$short"
      fuzz "$target" "$(((fuzz_seconds - short) > 0 ? fuzz_seconds - short : 1))" -max_len=65536
      ;;
    *) fuzz "$target" "$fuzz_seconds" ;;
  esac
done

if [ -x tests/e2e/run.sh ]; then
  echo "== End-to-end"
  tests/e2e/run.sh build
fi
