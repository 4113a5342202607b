#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and runs it under Wine.
#   tools/run.sh                      COM1 is a virtual line whose far end echoes every byte back
#   tools/run.sh --device /dev/ttyUSB0   COM1 is that real device
# The program gets its own Wine prefix (build/win32/run-prefix) with the normal X display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

device=""
while [ $# -gt 0 ]; do
  case "$1" in
    --device) device=${2:?--device needs a path}; shift 2 ;;
    --device=*) device=${1#--device=}; shift ;;
    *) echo "usage: tools/run.sh [--device /dev/ttyXXX]" >&2; exit 2 ;;
  esac
done
if [ -n "$device" ] && [ ! -e "$device" ]; then
  echo "No such device: $device" >&2
  exit 1
fi

"$root/tools/setup-debian.sh"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target quorvalink qv_wine_bench

. "$root/tools/wine-env.sh"
export QV_DISPLAY=x11
qv_wine_env "$root/build/win32" run-prefix
qv_prefix_ensure
qv_server_ensure
qv_lines_env

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -z "$device" ] || rm -f "$WINEPREFIX/dosdevices/com1"
  qv_server_stop
}
trap cleanup EXIT
trap "exit 130" INT TERM

if [ -z "${DISPLAY:-}" ]; then
  echo "No X display: running on a private Xvfb (the window is not visible)."
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  read -r -t 10 num <&"$fd"
  export DISPLAY=":$num"
fi

rm -f "$WINEPREFIX/dosdevices/com1"
if [ -n "$device" ]; then
  ln -s "$device" "$WINEPREFIX/dosdevices/com1"
  echo "COM1 is $device"
else
  # A virtual line with modem lines whose far end echoes every byte back; it goes away
  # with this script.
  ready=$(mktemp -u "${TMPDIR:-/tmp}/qv-run-line.XXXXXX")
  mkdir -p "$QV_LINE_DIR"
  "$QV_LINE_HELPER" --dosdevices "$WINEPREFIX/dosdevices" --lines "$QV_LINE_DIR" --ready "$ready" \
    --watch $$ --first 1 --last 1 --echo >/dev/null 2>&1 </dev/null &
  pids+=($!)
  for _ in $(seq 200); do [ -s "$ready" ] && break; sleep 0.05; done
  if ! grep -q '^ok' "$ready" 2>/dev/null; then
    echo "Could not make the virtual line: $(cat "$ready" 2>/dev/null)" >&2
    exit 1
  fi
  echo "COM1 is a virtual line that echoes what it receives."
fi

# The program's default screen font ("Terminal") is a Windows font Wine does not have: a first
# run here starts with a settings file that names an installed fixed-pitch font instead.
settings="$root/build/win32/app/quorvalink.ini"
[ -f "$settings" ] || printf '[Font Section]\r\nFONT_NAME=DejaVu Sans Mono\r\n' >"$settings"

wine "$root/build/win32/app/quorvalink.exe"
