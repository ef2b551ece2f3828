#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, 30 by default), starting from the seeds in fuzz/corpus.
# Fails on any finding; the input that caused it is kept in
# <build>/artifacts/ and belongs in a regression test under tests/faults/.
# Usage: scripts/fuzz.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
targets=(parse_received send_command lut_csv camsim_frames)

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"

mkdir -p "$build/artifacts"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# One target's run; its log tells what it found.
fuzz_one() {
  local t=$1
  # Grow a scratch corpus, never the seeds in the tree.
  local work="$build/corpus/$t"
  mkdir -p "$work"
  "$build/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
    "$work" "fuzz/corpus/$t" >"$build/fuzz_$t.log" 2>&1
}

# As many targets side by side as there are processors; each still gets its
# full time.
parallel=$(nproc)
failed=()
for ((i = 0; i < ${#targets[@]}; i += parallel)); do
  batch=("${targets[@]:i:parallel}")
  pids=()
  for t in "${batch[@]}"; do
    echo "== fuzz_$t for ${seconds}s"
    fuzz_one "$t" &
    pids+=($!)
  done
  for j in "${!batch[@]}"; do
    t=${batch[$j]}
    if wait "${pids[$j]}"; then
      grep -E '^stat::number_of_executed_units' "$build/fuzz_$t.log" | sed "s/^/fuzz_$t /" || true
    else
      tail -n 60 "$build/fuzz_$t.log"
      failed+=("$t")
    fi
  done
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz_${failed[*]} found a problem; input kept in $build/artifacts/" >&2
  exit 1
fi
