#!/usr/bin/env bash
# Builds the Debian packages from a build folder and checks them:
#   zr-k880tm-control_<version>_<arch>.deb      panel, zrk880ctl, desktop entry
#   zr-k880tm-control-sim_<version>_<arch>.deb  the simulated camera
#   libzrk880-1, libzrk880-dev, python3-zrk880  the C library, its development
#                                               files and the Python module
#   ansible-collection-zrk880-camera_<version>_all.deb  the Ansible collection
#                                               zrk880.camera, and its tarball
#                                               zrk880-camera-<x.y.z>.tar.gz
# lintian (no errors), desktop-file-validate and appstreamcli validate must
# pass; then the packages are unpacked into a temporary root and the packaged
# zrk880ctl talks to the packaged simulated camera (get and dump, over a
# pseudo-terminal and through the Camera Link library), and so do the README's
# C examples, compiled against the unpacked header and library (through
# pkg-config and find_package(zrk880)), and its Python examples, run with the
# unpacked module; a package that misses a file or a library fails here.
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
lib="$out/libzrk880-1_${version}_${arch}.deb"
dev="$out/libzrk880-dev_${version}_${arch}.deb"
py="$out/python3-zrk880_${version}_${arch}.deb"

# The Ansible collection: its tarball from ansible-galaxy, installed from that
# tarball as a user would, into the place Debian's packages keep collections.
collection=ansible/ansible_collections/zrk880/camera
galaxy_version=$(sed -n 's/^version: *//p' "$collection/galaxy.yml")
if [ "$galaxy_version" != "${version%.*}" ]; then
  echo "package: $collection/galaxy.yml says version $galaxy_version, the project ${version%.*}" >&2
  exit 1
fi
ansible-galaxy collection build --force --output-path "$out" "$collection" >/dev/null
tarball="$out/zrk880-camera-${galaxy_version}.tar.gz"
coll_name=ansible-collection-zrk880-camera
coll="$out/${coll_name}_${version}_all.deb"
stage="$build/ansible-deb"
rm -rf "$stage"
ANSIBLE_COLLECTIONS_PATH="$stage/usr/lib/python3/dist-packages" \
  ansible-galaxy collection install --offline --no-deps -p "$stage/usr/lib/python3/dist-packages" \
  "$tarball" >/dev/null
mkdir -p "$stage/usr/share/doc/$coll_name" "$stage/DEBIAN"
cp packaging/copyright "$stage/usr/share/doc/$coll_name/"
cp "$build/packaging/changelog.gz" "$stage/usr/share/doc/$coll_name/"
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
cat >"$stage/DEBIAN/control" <<EOF
Package: $coll_name
Version: $version
Architecture: all
Maintainer: $(dpkg-deb -f "$py" Maintainer)
Installed-Size: $(du -sk "$stage/usr" | cut -f1)
Depends: python3:any, python3-zrk880 (>= $version), ansible-core (>= 2.14)
Section: admin
Priority: optional
Description: Ansible collection zrk880.camera for ZR-K880TM cameras
 Desired-state settings and look-up tables, and facts, for the ZR-K880TM
 colour industrial camera, on the Python module zrk880: zrk880_settings
 (a settings file or a map of name: value, with check mode and diff),
 zrk880_lut (the look-up tables equal a CSV file) and zrk880_facts
 (identity texts, temperature, settings). Cameras are reached on serial
 ports, network serial ports (RFC 2217, raw TCP) and Camera Link.
EOF
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k 2 >DEBIAN/md5sums)
dpkg-deb --root-owner-group --build "$stage" "$coll" >/dev/null

for deb in "$panel" "$sim" "$lib" "$dev" "$py" "$coll"; do
  [ -f "$deb" ] || { echo "package: $deb was not made" >&2; ls -l "$out" >&2; exit 1; }
  echo "== $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
done

# Errors fail the run; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$panel" "$sim" "$lib" "$dev" "$py" "$coll"

source scripts/sim-run.sh zrk880-package

root="$run/root"
dpkg-deb -x "$panel" "$root"
dpkg-deb -x "$sim" "$root"
for deb in "$lib" "$dev" "$py" "$coll"; do dpkg-deb -x "$deb" "$root"; done
# The unpacked library, for zrk880ctl and the examples below.
libdir=$(dirname "$(find "$root/usr/lib" -name 'libzrk880.so.1' | head -n 1)")
export LD_LIBRARY_PATH="$libdir"
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
# The library's packages as a user's program meets them.
examples=$PWD/examples
export PKG_CONFIG_PATH="$libdir/pkgconfig"
for example in recipe golden_check temperature_log; do
  # shellcheck disable=SC2046
  cc -Wall -Werror -o "$run/$example" "$examples/c/$example.c" $(pkg-config --cflags --libs zrk880)
done
mkdir "$run/cmake"
cat >"$run/cmake/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(quickstart C)
find_package(zrk880 REQUIRED)
add_executable(quickstart $examples/c/quickstart.c)
target_link_libraries(quickstart PRIVATE zrk880::zrk880)
EOF
cmake -S "$run/cmake" -B "$run/cmake/build" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$run/cmake/build" >/dev/null
"$run/cmake/build/quickstart" COM3
# A LUT file and the golden settings (dumped above); the recipe makes the camera drift.
python3 -c 'print("\n".join(",".join(str(255 - i) for i in range(256)) for _ in range(3)))' >"$run/lut.csv"
"$run/golden_check" COM3 "$run/settings.json"
"$run/recipe" COM3 7 "$run/lut.csv"
if "$run/golden_check" COM3 "$run/settings.json"; then
  echo "package: golden_check did not see the drift" >&2
  exit 1
fi
got=$(printf 'batch-1\nbatch-2\n' | "$run/temperature_log" COM3 | cut -d, -f1 | tr '\n' ' ')
[ "$got" = "batch-1 batch-2 " ] || { echo "package: temperature_log printed \"$got\"" >&2; exit 1; }

export PYTHONPATH="$root/usr/lib/python3/dist-packages"
/usr/bin/python3 -c 'import sys, zrk880; sys.exit(not zrk880.__file__.startswith(sys.argv[1]))' "$root"
/usr/bin/python3 "$examples/python/quickstart.py" COM3
/usr/bin/python3 "$examples/python/recipe.py" COM3 9 "$run/lut.csv" 2>/dev/null
if /usr/bin/python3 "$examples/python/golden_check.py" COM3 "$run/settings.json"; then
  echo "package: golden_check.py did not see the drift" >&2
  exit 1
fi
printf 'batch-1\n' | /usr/bin/python3 "$examples/python/temperature_log.py" COM3

# The packaged collection, found where the package put it, on the unpacked module.
export ANSIBLE_COLLECTIONS_PATH="$root/usr/lib/python3/dist-packages"
export ANSIBLE_HOME="$run/ansible-home" ANSIBLE_LOCAL_TEMP="$run/ansible-local"
for module in zrk880_settings zrk880_lut zrk880_facts; do
  ansible-doc "zrk880.camera.$module" |
    grep -q "$root/usr/lib/python3/dist-packages/ansible_collections/zrk880/camera/plugins/modules/$module.py"
done
got=$(ansible localhost -i localhost, -c local -o -e ansible_python_interpreter=/usr/bin/python3 \
  -m zrk880.camera.zrk880_facts -a '{"route": "COM3", "gather": ["identity"]}')
case "$got" in
  *'"model": "ZR-K880TM"'*) ;;
  *) echo "package: zrk880_facts printed $got" >&2; exit 1 ;;
esac
echo "packages built and checked: $panel $sim $lib $dev $py $coll $tarball"
