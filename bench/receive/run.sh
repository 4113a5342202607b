#!/usr/bin/env bash
# The receive benchmark's full table: for each traffic kind in each display mode, the highest
# rate kept, every step in a fresh process. It starts at the target (300,000 bytes/s), climbs
# while steps are kept and goes down while they are not; then the long run at 300,000 bytes/s
# in Hexadecimal mode.
#   bench/receive/run.sh [BUILD_DIR] [SECONDS] [LONG_SECONDS] [KINDS] [MODES]
# Defaults: build/win32, 60 s steps, a 600 s long run (0 skips it), all four kinds, all three
# modes. Pin it (taskset) on a shared machine; QV_WINEPREFIX gives it a prefix of its own.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$here/build/win32}
seconds=${2:-60}
long=${3:-600}
kinds=${4:-lines random plain worst}
modes=${5:-0 1 2}
up="600000 1200000"
down="200000 100000 50000 11520"
bench() { "$here/tools/wine-run" --build-dir="$build" "$build/bench/receive/receive_bench.exe" "$@"; }
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
