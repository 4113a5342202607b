# Sourced by the bench scripts: the Wine environment of one build tree.
#   qv_wine_env BUILD_DIR [PREFIX_NAME]   exports WINEPREFIX and the quiet, crash-safe settings
#   qv_prefix_ensure                      creates the prefix once (safe when tests start in parallel)
#   qv_server_ensure                      starts the persistent wineserver of this prefix
#   qv_server_stop                        stops it (only this prefix's server)
#   qv_first_cpus N LIST                  the first N CPUs of an affinity list
#   qv_lines_env                          virtual lines for what runs next: the line helper,
#                                         its directory and the line shim preloaded into Wine
#   qv_display_start [OPENBOX_RC]         a private X display with a window manager (Xvfb,
#                                         openbox, with that configuration file if given) for
#                                         what runs next: exports DISPLAY
#   qv_display_stop                       ends them
# The test prefix uses Wine's null display driver, so GUI tests need no X server; the
# real-display suite runs in a prefix of its own on Wine's X11 driver (tools/test-all.sh).

# The first N CPUs of an affinity list such as "0-3,8-11" (all of them when it has fewer), as
# a list taskset takes.
qv_first_cpus() {
  local n=$1 parts part a b c out=()
  IFS=, read -ra parts <<<"$2"
  for part in "${parts[@]}"; do
    a=${part%-*}
    b=${part#*-}
    for ((c = a; c <= b && ${#out[@]} < n; c++)); do out+=("$c"); done
  done
  (IFS=,; echo "${out[*]}")
}

qv_wine_env() {
  local build_dir=$1 name=${2:-wineprefix}
  export QV_BUILD_DIR=$build_dir
  export WINEPREFIX=${QV_WINEPREFIX:-$build_dir/$name}
  export WINEARCH=win32
  export WINEDEBUG=${WINEDEBUG:--all}
  # No crash debugger (a crashing test fails at once), no Mono/Gecko install prompts.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
  # QV_DISPLAY=null (tests) or x11 (the run command)
  export QV_DISPLAY=${QV_DISPLAY:-null}
}

qv_prefix_ensure() {
  [ -f "$WINEPREFIX/.qv-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.qv-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    # Every command here has its output on /dev/null: a server that inherited a test's
    # stderr would keep ctest waiting.
    wineboot -i >/dev/null 2>&1 </dev/null
    if [ "$QV_DISPLAY" = null ]; then
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
    else
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1 </dev/null
    fi
    rm -f "$WINEPREFIX"/dosdevices/lpt*
    qv_host_ports_unmap
    # The display driver is read when the desktop process starts: restart the server.
    wineserver -k >/dev/null 2>&1 </dev/null || true
    wineserver -w >/dev/null 2>&1 </dev/null || true
    touch "$WINEPREFIX/.qv-ready"
  ) 9>"$WINEPREFIX.lock"
}

qv_server_ensure() {
  # When this call starts the server it also starts Wine's service processes here, with
  # their output on /dev/null: started by a test, they would inherit its pipes and keep
  # ctest waiting. "wineserver -k0" signals nothing: it tells whether the prefix has a server.
  wineserver -k0 >/dev/null 2>&1 </dev/null && return 0
  (
    flock 9
    wineserver -k0 >/dev/null 2>&1 </dev/null && exit 0
    # Not "wineserver -p": that server leads a session of its own, so the first terminal it
    # opens for a program (a virtual line's pty, a serial device) becomes its controlling
    # terminal, and whenever that line goes away the kernel sends it SIGHUP, on which the
    # server writes out every object it holds: dozens of times per test run, the prefix
    # stalled each time, and Wine 8's server has crashed after such a dump, leaving every
    # program of the prefix hung. Here a shell leads the session and the server opens no
    # terminal as its own. What is started here gets no copy of the lock (9>&-): it would
    # hold it for good.
    setsid sh -c 'wineserver -f -p; exit 0' </dev/null >/dev/null 2>&1 9>&- &
    local tries=0
    until wineserver -k0 >/dev/null 2>&1 </dev/null || [ $((tries += 1)) -gt 500 ]; do sleep 0.01; done
    wineboot >/dev/null 2>&1 </dev/null 9>&- || true
    qv_host_ports_unmap
  ) 9>"$WINEPREFIX.server-lock"
}

# Wine maps com1.. to the host's /dev/ttyS* whenever it starts; the bench maps its own lines
# instead, so a test never opens a host port by accident. Links to anything else are kept.
qv_host_ports_unmap() {
  local link
  for link in "$WINEPREFIX"/dosdevices/com*; do
    [ -L "$link" ] || continue
    case "$(readlink "$link")" in /dev/ttyS*) rm -f "$link" ;; esac
  done
}

qv_server_stop() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
  # A Wine process whose server died under it (rather than being told to end) lingers for
  # good; whatever still runs in this prefix is ours to end.
  local env pid
  for env in /proc/[0-9]*/environ; do
    pid=${env#/proc/}; pid=${pid%/environ}
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in */wine*) ;; *) continue ;; esac
    if tr '\0' '\n' <"$env" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done
}

qv_lines_env() {
  # Test processes make their own lines with tools/lineshim/qv-line (see tests/support).
  local shim=$QV_BUILD_DIR/tools/lineshim
  export QV_LINE_DIR=$WINEPREFIX/qv-lines
  export QV_LINE_HELPER=$shim/qv-line
  # $LIB stays literal: ld.so picks the 32-bit copy for Wine and the 64-bit one for helpers.
  if [ -f "$shim/lib/i386-linux-gnu/libqvlineshim.so" ]; then
    export LD_PRELOAD="$shim/\$LIB/libqvlineshim.so${LD_PRELOAD:+:$LD_PRELOAD}"
  fi
}

# Xvfb on a display number it picks itself (other processes on shared machines use fixed
# ones), and openbox on it. Call it before the Wine server of an X11 prefix starts: a server
# started without DISPLAY takes the screen to be 1024x768 and leaves the rest black.
qv_display_start() {
  local fd num tries=0
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  QV_XVFB_PID=$!
  if ! read -r -t 10 num <&"$fd"; then
    exec {fd}<&-
    echo "Xvfb did not start" >&2
    return 1
  fi
  exec {fd}<&-
  export DISPLAY=":$num"
  openbox ${1:+--config-file "$1"} >/dev/null 2>&1 </dev/null &
  QV_WM_PID=$!
  # Windows shown before the window manager has taken the screen are placed without it.
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    [ $((tries += 1)) -gt 200 ]; do sleep 0.05; done
}

qv_display_stop() {
  [ -z "${QV_WM_PID:-}" ] || kill "$QV_WM_PID" 2>/dev/null || true
  [ -z "${QV_XVFB_PID:-}" ] || kill "$QV_XVFB_PID" 2>/dev/null || true
  QV_WM_PID="" QV_XVFB_PID=""
}
