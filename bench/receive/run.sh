#!/usr/bin/env bash
# The receive benchmark's full table: for each traffic kind in each display mode, the highest
# rate kept, every step in a fresh process. It starts at the target (300,000 bytes/s), climbs
# while steps are kept and goes down while they are not; then the long run at 300,000 bytes/s
# in Hexadecimal mode.
#   bench/receive/run.sh [BUILD_DIR] [SECONDS] [LONG_SECONDS] [KINDS] [MODES]
# Defaults: build/win32, 60 s steps, a 600 s long run (0 skips it), all four kinds, all three
# modes. Pin it (taskset) on a shared machine; QV_WINEPREFIX gives it a prefix of its own.
# QV_BENCH_DEVICE_CPUS (a taskset list such as 2,3) puts Wine's server (the system's serial
# driver here) and the line helper (the cable) on CPUs of their own, as a device and a kernel
# driver would not take the program's: the taskset the script runs under is then the program's
# (and the in-process peer writer's). Without it they share the program's CPUs, and on two CPUs
# the server's work for the peer's writes alone delayed the program's window by tens of ms.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$here/build/win32}
seconds=${2:-60}
long=${3:-600}
kinds=${4:-lines random plain worst}
modes=${5:-0 1 2}
up="600000 1200000"
down="200000 100000 50000 11520"
device=${QV_BENCH_DEVICE_CPUS:-}
if [ -n "$device" ]; then
  . "$here/tools/wine-env.sh"
  qv_wine_env "$build"
  qv_prefix_ensure
  taskset -c "$device" bash -c '. "$1/tools/wine-env.sh"; qv_wine_env "$2"; qv_server_ensure' \
    _ "$here" "$build"
fi
# The line helper of a new step, once it is there (it is started by the step's process).
pin_line_helper() {
  local step=$1 helper
  for _ in $(seq 100); do
    kill -0 "$step" 2>/dev/null || return 0
    helper=$(pgrep -n -f "qv-line --dosdevices ${WINEPREFIX:-}/dosdevices") &&
      taskset -apc "$device" "$helper" >/dev/null && return 0
    sleep 0.1
  done
}
bench() {
  "$here/tools/wine-run" --build-dir="$build" "$build/bench/receive/receive_bench.exe" "$@" &
  local step=$!
  [ -z "$device" ] || pin_line_helper "$step"
  wait "$step"
}
for kind in $kinds; do
  for mode in $modes; do
    if bench "$kind" "$mode" 300000 "$seconds"; then
      for rate in $up; do bench "$kind" "$mode" "$rate" "$seconds" || break; done
    else
      for rate in $down; do bench "$kind" "$mode" "$rate" "$seconds" && break; done
    fi
  done
done
if [ "$long" != 0 ]; then bench random 2 300000 "$long"; fi
