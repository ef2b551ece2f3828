#!/usr/bin/env bash
# Builds the two Debian packages from a build folder and checks them:
#   zr-k880tm-control_<version>_<arch>.deb      panel, zrk880ctl, desktop entry
#   zr-k880tm-control-sim_<version>_<arch>.deb  the simulated camera
# lintian (no errors), desktop-file-validate and appstreamcli validate must
# pass; then both packages are unpacked into a temporary root and the packaged
# zrk880ctl talks to the packaged simulated camera (get and dump, over a
# pseudo-terminal and through the Camera Link library), so a package that
# misses a file or a library fails here.
# Usage: scripts/package.sh [build-dir]   (packages land in <build-dir>/packages)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
build=$(cd "$build" && pwd -P)

out="$build/packages"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$build/cpack.log") || { cat "$build/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
panel="$out/zr-k880tm-control_${version}_${arch}.deb"
sim="$out/zr-k880tm-control-sim_${version}_${arch}.deb"
for deb in "$panel" "$sim"; do
  [ -f "$deb" ] || { echo "package: $deb was not made" >&2; ls -l "$out" >&2; exit 1; }
  echo "== $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
done

# Errors fail the run; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$panel" "$sim"

source scripts/sim-run.sh zrk880-package

root="$run/root"
dpkg-deb -x "$panel" "$root"
dpkg-deb -x "$sim" "$root"
desktop-file-validate "$root/usr/share/applications/zr_k880tm_control.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for f in "$root/usr/bin/ZR_K880TM_Control" "$root/usr/bin/zrk880ctl" \
         "$root/usr/bin/zrk880_camsim" "$root/usr/lib/zrk880/sim/libclallserial.so"; do
  if ldd "$f" | grep -q 'not found'; then
    echo "package: $f needs a library that is not there:" >&2
    ldd "$f" >&2
    exit 1
  fi
done
# Nothing of the simulated camera in the production package.
if dpkg-deb -c "$panel" | grep -E 'camsim|/sim/|clallserial'; then
  echo "package: the panel's package holds simulated parts" >&2
  exit 1
fi

start_camera "package: the packaged simulated camera did not start" \
  "$root/usr/bin/zrk880_camsim" "$ports" 3
ctl="$root/usr/bin/zrk880ctl"
export ZRK880_PORT_DIR="$ports"
got=$("$ctl" --port COM3 get gain_level)
[ "$got" = "gain_level = 0" ] || { echo "package: get printed \"$got\"" >&2; exit 1; }
"$ctl" --port COM3 dump "$run/settings.json"
grep -q '"camera": "ZR-K880TM"' "$run/settings.json"
[ "$(grep -c '"row":' "$run/settings.json")" = 53 ] || { echo "package: dump is not 53 settings" >&2; exit 1; }
got=$("$ctl" --cl-lib "$root/usr/lib/zrk880/sim/libclallserial.so" get shutter_speed)
[ "$got" = "shutter_speed = 0" ] || { echo "package: Camera Link get printed \"$got\"" >&2; exit 1; }
echo "packages built and checked: $panel $sim"
