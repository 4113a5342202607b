#!/usr/bin/env bash
# A seeded random-input run of the program on a private real display (Xvfb, openbox, Wine's
# X11 driver) with COM1 a virtual line whose far end echoes and now and then streams.
#   tools/monkey/run.sh [--seed N] [--minutes M] [--stop-on-finding] [--out DIR] [--no-build]
#   tools/monkey/run.sh --replay DIR/actions.log [--upto N]     the actions of an earlier run
#   tools/monkey/run.sh --dry-run [--seed N] [--count N]        its actions only, no display
#   tools/monkey/run.sh --self-check          a seed's actions come out the same every time
# The program runs from a copy in the run's folder, with its settings, macro list and notes
# there; the run's log, Wine's stderr and the findings are written there too. A tool to start
# by hand: random input on a shared machine is no CI step.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here="$root/tools/monkey"

build=1 args=()
for a in "$@"; do
  case "$a" in
    --dry-run | --self-check) exec python3 "$here/monkey.py" "$@" ;;
    --no-build) build=0 ;;
    *) args+=("$a") ;;
  esac
done

cd "$root"
if [ "$build" = 1 ]; then
  "$root/tools/setup-debian.sh"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target quorvalink qv_wine_bench qv_monkey_probe
fi

. "$root/tools/wine-env.sh"
# Runs at once each take a prefix of their own: a Wine server draws on the display it was
# started with. A slot is ours while we hold its lock.
for slot in 1 2 3 4 5 6 7 8; do
  exec {lock}>"$root/build/win32/monkey-prefix-$slot.slot"
  flock -n "$lock" && break
  exec {lock}>&-
  [ "$slot" != 8 ] || { echo "every monkey prefix is in use" >&2; exit 1; }
done

qv_display_start "$here/openbox-rc.xml"
export QV_DISPLAY=x11 QV_WINEPREFIX="$root/build/win32/monkey-prefix-$slot"
qv_wine_env "$root/build/win32"
trap 'qv_server_stop; qv_display_stop' EXIT
trap 'exit 130' INT TERM
# A server this prefix kept from an earlier run would draw on that run's display.
qv_server_stop
qv_prefix_ensure
qv_server_ensure
qv_lines_env
rm -f "$WINEPREFIX/dosdevices/com1"
echo "Display $DISPLAY, prefix $WINEPREFIX"
python3 "$here/monkey.py" --build-dir "$root/build/win32" "${args[@]}"
