#!/usr/bin/env bash
# Shows the main panel after a read from the simulated camera on a virtual X
# display and saves a picture of it (default docs/screenshots/panel.png).
# Usage: scripts/screenshot-panel.sh [output.png]   (BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=${1:-docs/screenshots/panel.png}
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing: sudo apt-get install xvfb" >&2
  exit 1
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target test_panel

mkdir -p "$(dirname "$out")"
rm -f "$out"
ZR_PANEL_SCREENSHOT="$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$build/tests/test_panel" --gtest_filter='PanelScreenshot.*'
test -s "$out"
echo "saved $out"
