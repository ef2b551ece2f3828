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

source scripts/sim-run.sh zrk880-sim
trap 'exit 130' INT TERM HUP

# The port folder of this run: the simulated camera's COMn, and links to
# nothing for COM1-COM10 otherwise, so this machine's own serial ports stay
# out of the way and the simulated one is the free port the dialog picks.
for n in $(seq 1 10); do
  [ "$n" = "$port" ] || ln -s "$run/no-such-device" "$ports/COM$n"
done

# shellcheck disable=SC2086  # options are meant to split
start_camera "run-sim: the simulated camera did not start" \
  "$build/camsim/zrk880_camsim" ${ZR_SIM_OPTIONS:-} "$ports" "$port"
echo "Simulated camera on COM$port ($(head -n 1 "$run/camsim.out")); Camera Link: CL ALL"

# A profile of its own, so this run neither uses nor changes the saved port
# choice of real runs.
export XDG_CONFIG_HOME="$run/config"
export ZRK880_PORT_DIR="$ports"
export LD_LIBRARY_PATH="$build/camsim/cl${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
"$build/ZR_K880TM_Control"
