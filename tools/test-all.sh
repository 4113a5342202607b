#!/usr/bin/env bash
# The test command: installs what is missing, builds every configuration and runs every test.
#   native: the platform-free libraries with ASan/UBSan, their tests
#   win32:  the program and the Win32 tests, run under Wine on the bench's virtual lines, and
#           the real-display suite under Xvfb on Wine's X11 driver
#   fuzz:   each fuzz target for a short smoke run
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/tools/setup-debian.sh"

jobs=$(nproc)
fuzz_seconds=${QV_FUZZ_SECONDS:-5}

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --test-dir build/native -j "$jobs" --output-on-failure --no-tests=ignore

echo "== win32"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
. "$root/tools/wine-env.sh"
qv_wine_env "$root/build/win32"
trap qv_server_stop EXIT
# The Wine tests run on two CPUs, whatever the machine has, and so does their wineserver: each
# byte a test's port sends or reads is several round trips to that one server, and on a virtual
# machine with many CPUs a round trip between two of them costs several times one on a pinned
# pair (the megabyte file send took three to four times as long unpinned on eight). Two CPUs is
# also what the tests' time-outs are set for.
# Where the system refuses, they run where they are.
all_cpus=$(taskset -pc $$ 2>/dev/null) || all_cpus=""
all_cpus=${all_cpus##*: }
[ -z "$all_cpus" ] || taskset -pc "$(qv_first_cpus 2 "$all_cpus")" $$ >/dev/null 2>&1 || true
qv_prefix_ensure
qv_server_ensure
# Wine tests wait on windows and lines more than on the CPU: run more of them than cores.
ctest --test-dir build/win32 -j 4 --output-on-failure --no-tests=ignore -LE '^realdisplay_tests$'

echo "== win32 on a real display (Xvfb, Wine's X11 driver)"
# The receive screen as a user sees it: faults of drawing that Wine's null display driver does
# not show. A prefix of its own, whose server starts with the private display already set.
(
  qv_display_start
  export QV_DISPLAY=x11 QV_WINEPREFIX="$root/build/win32/x11-prefix"
  qv_wine_env "$root/build/win32"
  trap 'qv_server_stop; qv_display_stop' EXIT
  # A server this prefix kept from an earlier run would draw on that run's display.
  qv_server_stop
  qv_prefix_ensure
  qv_server_ensure
  ctest --test-dir build/win32 -j 2 --output-on-failure --no-tests=ignore -L '^realdisplay_tests$'
)
[ -z "$all_cpus" ] || taskset -pc "$all_cpus" $$ >/dev/null 2>&1 || true

echo "== fuzz (${fuzz_seconds}s per target)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
while IFS='=' read -r name fuzzer; do
  [ -n "$name" ] || continue
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  echo "-- $name"
  if ! "$fuzzer" -max_total_time="$fuzz_seconds" "$work" >"build/fuzz/$name.log" 2>&1; then
    tail -n 40 "build/fuzz/$name.log"
    exit 1
  fi
done < build/fuzz/fuzzers.txt

echo "All tests passed."
