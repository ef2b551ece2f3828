#!/usr/bin/env bash
# Starts ZR_K880TM_Control against the simulated camera, for a first look
# without hardware. Installs what is missing, builds, serves the simulated
# camera on a pseudo-terminal as COM3 and makes the simulated Camera Link
# library the common library, for this run only. The simulated camera stops
# when the program ends.
#
# Environment: ZR_BUILD_DIR (default: build), ZR_SIM_PORT (default: 3),
# ZR_SIM_OPTIONS (extra options for zrk880_camsim, e.g. "--pace 9600").
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=${ZR_BUILD_DIR:-build}
port=${ZR_SIM_PORT:-3}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target ZR_K880TM_Control camsim_targets
# From here on the build folder is used as an absolute path: the loader's
# path must name it whether it was given relative or absolute.
build=$(cd "$build" && pwd -P)

run=$(mktemp -d "${TMPDIR:-/tmp}/zrk880-sim.XXXXXX")
camsim_pid=
stop_camera() {
  if [ -n "$camsim_pid" ]; then
    kill "$camsim_pid" 2>/dev/null || true
    wait "$camsim_pid" 2>/dev/null || true
  fi
  rm -rf "$run"
}
trap stop_camera EXIT
trap 'exit 130' INT TERM HUP

# The port folder of this run: the simulated camera's COMn, and links to
# nothing for COM1-COM10 otherwise, so this machine's own serial ports stay
# out of the way and the simulated one is the free port the dialog picks.
ports="$run/ports"
mkdir -p "$ports"
for n in $(seq 1 10); do
  [ "$n" = "$port" ] || ln -s "$run/no-such-device" "$ports/COM$n"
done

# shellcheck disable=SC2086  # options are meant to split
"$build/camsim/zrk880_camsim" ${ZR_SIM_OPTIONS:-} "$ports" "$port" >"$run/camsim.out" &
camsim_pid=$!
for _ in $(seq 1 100); do
  [ -s "$run/camsim.out" ] && break
  kill -0 "$camsim_pid" 2>/dev/null || { echo "run-sim: the simulated camera did not start" >&2; exit 1; }
  sleep 0.1
done
echo "Simulated camera on COM$port ($(head -n 1 "$run/camsim.out")); Camera Link: CL ALL"

# A profile of its own, so this run neither uses nor changes the saved port
# choice of real runs.
export XDG_CONFIG_HOME="$run/config"
export ZRK880_PORT_DIR="$ports"
export LD_LIBRARY_PATH="$build/camsim/cl${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
"$build/ZR_K880TM_Control"
