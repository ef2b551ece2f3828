#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. the normal build and the whole suite;
#   2. the Debian packages, checked and run from an unpacked root;
#   3. the whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer;
#   4. the threaded parts (link, transport, fault runs, the C library's handles)
#      under ThreadSanitizer;
#   5. each fuzz target for a bounded time (FUZZ_SECONDS, 30 by default).
# Any failure, sanitizer report or fuzzer finding fails the run.
#   --quick   step 1 only: one build and the whole ctest suite, for people who
#             change code (what CI runs is the script without it)
# Build folders: build, build-asan, build-tsan, build-fuzz (another prefix
# than "build" with ZR_BUILD_PREFIX).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh

jobs=$(nproc)
b=${ZR_BUILD_PREFIX:-build}
elapsed() { echo "$(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"; }
step() { echo "== $1 (at $(elapsed))"; }

step "build and test"
cmake -S . -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$b" -j "$jobs"
# Most tests wait on timers and the simulated camera rather than compute, so
# twice as many run at once as there are processors.
ctest --test-dir "$b" --output-on-failure -j "$((jobs * 2))"
if [ "$quick" = 1 ]; then
  step "quick check passed in $(elapsed)"
  exit 0
fi

step "Debian packages"
bash scripts/package.sh "$b"

# The sanitizer builds leave out what they cannot check: the benchmark (not a
# test), and for ThreadSanitizer everything without threads of its own.
step "AddressSanitizer + UndefinedBehaviorSanitizer: every test"
cmake -S . -B "$b-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_SANITIZE=address \
  -DZR_BUILD_BENCH=OFF
cmake --build "$b-asan" -j "$jobs"
# fontconfig (under Qt's offscreen platform) keeps a few allocations to the end.
ASAN_OPTIONS="detect_leaks=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir "$b-asan" --output-on-failure -j "$jobs"

step "ThreadSanitizer: link, transport, fault runs and the C library"
cmake -S . -B "$b-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_SANITIZE=thread -DZR_BUILD_GUI=OFF \
  -DZR_BUILD_BENCH=OFF
cmake --build "$b-tsan" -j "$jobs" --target test_link test_transport test_faults test_capi camsim_targets
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$b-tsan" --output-on-failure -j "$jobs" -L 'link|transport|faults|capi'

step "fuzz targets"
bash scripts/fuzz.sh "$b-fuzz"

step "all passed in $(elapsed)"
