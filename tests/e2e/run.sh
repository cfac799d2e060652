#!/usr/bin/env bash
# Runs the end-to-end journeys of a configured build folder (default: build): the editor in a
# private X server, driven with xdotool. Screenshots land in <build>/e2e-shots.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" --target gk_e2e_tests
ctest --test-dir "$build" -L e2e --output-on-failure
