#!/usr/bin/env bash
# Climbs the receive benchmark's rates for each traffic kind in each display mode, every step
# in a fresh process, up to the first rate not kept; then the long run at 300,000 bytes/s in
# Hexadecimal mode.
#   bench/receive/run.sh [BUILD_DIR] [SECONDS] [LONG_SECONDS] [KINDS] [MODES] [RATES]
# Defaults: build/win32, 60 s steps, a 600 s long run (0 skips it), all four kinds, all three
# modes, 11,520 to 1,200,000 bytes/s. Pin it (taskset) on a shared machine.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$here/build/win32}
seconds=${2:-60}
long=${3:-600}
kinds=${4:-lines random plain worst}
modes=${5:-0 1 2}
rates=${6:-11520 50000 100000 200000 300000 600000 1200000}
bench() { "$here/tools/wine-run" --build-dir="$build" "$build/bench/receive/receive_bench.exe" "$@"; }
for kind in $kinds; do
  for mode in $modes; do
    for rate in $rates; do
      bench "$kind" "$mode" "$rate" "$seconds" || break
    done
  done
done
if [ "$long" != 0 ]; then bench random 2 300000 "$long"; fi
