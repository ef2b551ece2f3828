# shellcheck shell=bash
# Sourced by the scripts that serve the simulated camera for a run
# (run-sim.sh, package.sh), with the temporary folder's name as argument:
# makes the run's folder $run with a port folder $ports in it; the camera and
# the folder go when the script ends.
run=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
ports="$run/ports"
mkdir -p "$ports"
camsim_pid=
stop_camera() {
  if [ -n "$camsim_pid" ]; then
    kill "$camsim_pid" 2>/dev/null || true
    wait "$camsim_pid" 2>/dev/null || true
  fi
  rm -rf "$run"
}
trap stop_camera EXIT

# start_camera MESSAGE PROGRAM ARGS...: starts the camera program in the
# background and waits until it has printed its terminal to $run/camsim.out;
# prints MESSAGE and ends the script when the program ends first.
start_camera() {
  local failed=$1
  shift
  "$@" >"$run/camsim.out" &
  camsim_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$run/camsim.out" ] && return 0
    kill -0 "$camsim_pid" 2>/dev/null || { echo "$failed" >&2; exit 1; }
    sleep 0.1
  done
}
