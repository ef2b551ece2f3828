#!/usr/bin/env bash
# Shows the look-up table editor with the gamma 0.45 curve, green hidden and
# one point being dragged, on a virtual X display, and saves a picture of it
# (default docs/screenshots/lut.png).
# Usage: scripts/screenshot-lut.sh [output.png]   (BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=${1:-docs/screenshots/lut.png}
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing: sudo apt-get install xvfb" >&2
  exit 1
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target test_tools

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ZR_SCREENSHOT_DIR="$dir" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$build/tests/test_tools" --gtest_filter='LutEditorTest.Screenshot*'
test -s "$dir/lut.png"
mkdir -p "$(dirname "$out")"
cp "$dir/lut.png" "$out"
echo "saved $out"
