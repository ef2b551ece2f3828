#!/usr/bin/env bash
# Shows one window against the simulated camera on a virtual X display and
# saves a picture of it (default docs/screenshots/<window>.png):
#   panel   the main panel after a read
#   lut     the look-up table editor with the gamma 0.45 curve, green hidden
#           and one point being dragged
#   adjust  the adjustment window in adjust mode after a read
#   compare   the differences between the camera and a settings file
#   trace     the link trace window with a write, a read and an ACK time-out
#   progress  the look-up table editor's READ progress, a third of the way
# Usage: scripts/screenshot.sh panel|lut|adjust|compare|trace|progress [output.png]
#        (BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/.."
window=${1:-}
case "$window" in
  panel)  target=test_panel;  filter='PanelScreenshot.*' ;;
  lut)    target=test_tools;  filter='LutEditorTest.ScreenshotWithGamma*' ;;
  adjust) target=test_adjust; filter='AdjustScreenshot.*' ;;
  compare)  target=test_panel; filter='SettingsFileTest.Compare*' ;;
  trace)    target=test_tools; filter='LinkTraceWindowTest.Screenshot*' ;;
  progress) target=test_tools; filter='LutEditorTest.ScreenshotOfReadProgress' ;;
  *) echo "usage: $0 panel|lut|adjust|compare|trace|progress [output.png]" >&2; exit 2 ;;
esac
build=${BUILD_DIR:-build}
out=${2:-docs/screenshots/$window.png}
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing: sudo apt-get install xvfb" >&2
  exit 1
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target "$target"

# Each screenshot test saves its picture where it is told: the panel and
# adjustment tests take a file, the editor's test a folder.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ZR_PANEL_SCREENSHOT="$dir/panel.png" ZR_ADJUST_SCREENSHOT="$dir/adjust.png" \
ZR_SCREENSHOT_DIR="$dir" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$build/tests/$target" --gtest_filter="$filter"
test -s "$dir/$window.png"
mkdir -p "$(dirname "$out")"
cp "$dir/$window.png" "$out"
echo "saved $out"
