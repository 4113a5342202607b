#!/usr/bin/env bash
# The start-up benchmark as CI runs it: built, pinned to two CPUs, in a Wine prefix of its own
# (build/win32/startup-prefix, made on first use) whose server starts under the same pinning and
# is stopped at the end, so the next run pins it afresh.
#   bench/startup/run.sh [BUILD_DIR] [RUNS] [OTHER_EXE]
# Defaults: build/win32, 20 runs of each subject. OTHER_EXE: another build of quorvalink.exe
# (before a change, say) measured beside this one. QV_BENCH_CPUS gives another CPU list (0,1 by
# default); QV_WINEPREFIX another prefix.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$here/build/win32}
runs=${2:-20}
other=${3:-}
cpus=${QV_BENCH_CPUS:-0,1}
mkdir -p "$build" && build=$(cd "$build" && pwd)
cmake --build "$build" --target startup_bench >/dev/null
export QV_WINEPREFIX=${QV_WINEPREFIX:-$build/startup-prefix}
. "$here/tools/wine-env.sh"
qv_wine_env "$build"
qv_server_stop
trap qv_server_stop EXIT
taskset -c "$cpus" "$here/tools/wine-run" --build-dir="$build" \
  "$build/bench/startup/startup_bench.exe" "$runs" ${other:+"$(realpath "$other")"}
