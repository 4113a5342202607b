#!/usr/bin/env bash
# Every case of the idle benchmark, each in a fresh process, pinned to two CPUs as CI runs.
#   bench/idle/run.sh [BUILD_DIR] [SECONDS] [HEAP_SECONDS]
# Defaults: build/win32, 60 s a case (the latency case: a byte after each 10 s of quiet), single
# bytes 0.3 s apart in each display mode (5 runs of 100), a 600 s heap case (0 skips it). Build it first: cmake --build --preset win32 --target idle_bench
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$here/build/win32}
seconds=${2:-60}
heap=${3:-600}
bench() {
  taskset -c 0,1 "$here/tools/wine-run" --build-dir="$build" "$build/bench/idle/idle_bench.exe" "$@"
}
bench idle "$seconds"
bench bare "$seconds"
bench lines "$seconds"
bench latency "$seconds" 10
for mode in 0 1 2; do bench single "$mode"; done
if [ "$heap" != 0 ]; then bench heap "$heap"; fi
