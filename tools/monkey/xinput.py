"""Mouse and keys for a random-input run, through xdotool, aimed only at the program's windows.

The program's X windows are the mapped ones that carry its process id (Wine sets
_NET_WM_PID on each of its X windows, pop-ups such as menus included). A pointer action
lands inside one of them; keys go out only while the focus is on one of them.
"""

import re
import subprocess
import time


def _run(*args, check=False):
    r = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=20)
    if check and r.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {r.stderr.strip()}")
    return r.stdout


def _stacking():
    """The window manager's clients, the lowest first."""
    r = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], capture_output=True,
                       text=True, timeout=20)
    _, _, ids = r.stdout.partition("#")
    return [int(w.strip(), 16) for w in ids.split(",") if w.strip()]


def _geometry(window):
    out = _run("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    try:
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))
    except (KeyError, ValueError):
        return None


class ProgramWindows:
    """The program's visible X windows, the topmost first, with their places on the screen."""

    def __init__(self, pid):
        self.pid = pid

    def list(self):
        found = [int(w) for w in _run("search", "--onlyvisible", "--pid", self.pid).split()]
        order = {w: i for i, w in enumerate(_stacking())}
        # Menus and drop-down lists are not the window manager's clients: they lie above all.
        found.sort(key=lambda w: order.get(w, len(order) + 1), reverse=True)
        windows = []
        for w in found:
            g = _geometry(w)
            # Wine keeps 1x1 windows of its own mapped at times; nothing there takes input.
            if g and g[2] > 4 and g[3] > 4:
                windows.append((w, g))
        return windows

    def pick(self, which):
        """The window an action names: "top", or a fraction of the list."""
        windows = self.list()
        if not windows:
            return None
        if which == "top":
            return windows[0]
        return windows[min(int(float(which) * len(windows)), len(windows) - 1)]

    def titled(self, title):
        """The program's visible window with this title, or None."""
        found = _run("search", "--onlyvisible", "--pid", self.pid, "--name",
                     "^" + re.escape(title) + "$").split()
        return int(found[0]) if found else None

    def owns_focus(self):
        focus = _run("getwindowfocus").strip()
        if not focus:
            return False
        return _run("getwindowpid", focus).strip() == str(self.pid)


def _at(geometry, fx, fy):
    x, y, w, h = geometry
    # One pixel inside the border, so the point is always the window's own.
    return x + 1 + int(fx * (w - 3)), y + 1 + int(fy * (h - 3))


def click(geometry, fx, fy, button=1, count=1):
    x, y = _at(geometry, fx, fy)
    _run("mousemove", "--sync", x, y)
    _run("click", "--repeat", count, "--delay", 60, button)


def drag(geometry, fx, fy, fx2, fy2):
    x, y = _at(geometry, fx, fy)
    x2, y2 = _at(geometry, fx2, fy2)
    _run("mousemove", "--sync", x, y)
    _run("mousedown", 1)
    try:
        for i in range(1, 9):
            _run("mousemove", x + (x2 - x) * i // 8, y + (y2 - y) * i // 8)
            time.sleep(0.03)
    finally:
        _run("mouseup", 1)


def keys(combo, repeat=1):
    _run("key", "--repeat", repeat, "--delay", 40, combo)


def type_text(text):
    _run("type", "--delay", 30, "--", text)


def activate(window):
    _run("windowactivate", "--sync", window)
