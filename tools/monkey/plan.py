"""The seeded list of actions of a random-input run, and its one-line text form.

An action names no window handle and no pixel: it says which of the program's windows (by
its place in the stacking order, the topmost first) and where in it (fractions of its width
and height). The list therefore depends on the seed alone, and a rerun with the same seed, or
a replay of a run's log, performs the same actions whatever state the program is in.
"""

import ast
import random
import string

# Keys pressed alone. No key here leaves the program: the run's window manager binds none.
SINGLE_KEYS = [
    "Return", "Escape", "Tab", "BackSpace", "Delete", "Insert", "Home", "End", "Prior", "Next",
    "Up", "Down", "Left", "Right", "space", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
    "F9", "F10", "F11", "F12", "Menu",
]
# Keys that go with a modifier. Ctrl+Alt is never used: Ctrl+Alt+BackSpace ends an X server
# that allows it, and Ctrl+Alt+Fn switches consoles.
CHORD_KEYS = list(string.ascii_lowercase) + [
    "Home", "End", "Up", "Down", "Left", "Right", "Prior", "Next", "Insert", "Delete",
    "BackSpace", "Return", "Tab", "space", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
    "F9", "F10", "F11", "F12",
]
CHORD_MODIFIERS = ["ctrl", "shift", "alt", "ctrl+shift", "alt+shift"]
WORDS = ["hello", "world", "AT", "OK", "test", "\\r\\n", "\\x41", "\\t", "12345", "quorva"]

# How often each kind comes, out of the sum.
WEIGHTS = {
    "click": 30, "dblclick": 7, "rclick": 5, "drag": 7, "scroll": 6, "key": 14, "chord": 13,
    "type": 10, "menu": 4, "stream": 4, "idle": 2, "unplug": 0.4, "close": 0.3,
}


def _point(rng):
    # Edges and corners hold the scroll bars, the menu bar and the buttons of a box: a third
    # of the points are drawn near them.
    if rng.random() < 0.33:
        return round(rng.choice([rng.uniform(0, 0.08), rng.uniform(0.92, 1)]), 3), round(
            rng.random(), 3)
    return round(rng.random(), 3), round(rng.random(), 3)


def _window(rng):
    # Most input goes to the topmost window (an open box or menu), the rest to any of them.
    return "top" if rng.random() < 0.6 else str(round(rng.random(), 3))


def _text(rng):
    if rng.random() < 0.4:
        return " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 3)))
    alphabet = string.ascii_letters + string.digits + " .,;:-_/\\|!?#"
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(1, 12)))


def _make(rng, kind):
    a = {"kind": kind, "gap": rng.randint(40, 450)}  # milliseconds before the action
    if kind in ("click", "dblclick", "rclick", "scroll"):
        a["win"] = _window(rng)
        a["x"], a["y"] = _point(rng)
        if kind == "scroll":
            a["button"] = rng.choice([4, 5, 5, 4, 6, 7])  # wheel up, down, left, right
            a["notches"] = rng.randint(1, 6)
    elif kind == "drag":
        a["win"] = _window(rng)
        a["x"], a["y"] = _point(rng)
        a["x2"], a["y2"] = _point(rng)
    elif kind == "key":
        a["keys"] = rng.choice(SINGLE_KEYS)
        a["repeat"] = rng.choice([1, 1, 1, 2, 3, 8])
    elif kind == "chord":
        a["keys"] = rng.choice(CHORD_MODIFIERS) + "+" + rng.choice(CHORD_KEYS)
        if a["keys"] == "alt+F4":
            a["keys"] = "ctrl+F4"  # closing the window is an action of its own, and a rare one
        if rng.random() < 0.1:
            a["keys"] = rng.choice(["alt", "F10", "shift+F10"])  # arm the menu bar, pop-up menu
    elif kind == "type":
        a["text"] = _text(rng)
    elif kind == "menu":
        # A command from a menu by its keys: F10 and Right through the bar (fewer steps than
        # the program has menus, so the bar's highlight never wraps to the system menu), or
        # the pop-up menu (Shift+F10); then Down to an item and Return.
        a["bar"] = rng.random() < 0.75
        a["right"] = rng.randint(0, 6) if a["bar"] else 0
        a["down"] = rng.randint(1, 12)
    elif kind == "stream":
        a["what"] = rng.choice(["lines", "lines", "bytes", "burst"])
        a["bytes"] = rng.choice([64, 512, 4096, 32768, 262144])
        a["seconds"] = rng.choice([0, 1, 3, 10])
        a["data"] = rng.randint(0, 2**31)  # the seed of the bytes sent
    elif kind == "idle":
        a["ms"] = rng.randint(500, 4000)
    elif kind == "unplug":
        a["back"] = rng.randint(1, 15)  # seconds until the line is there again
    return a


def actions(seed):
    """The endless list of actions of a seed."""
    rng = random.Random(seed)
    kinds = list(WEIGHTS)
    weights = [WEIGHTS[k] for k in kinds]
    index = 0
    while True:
        a = _make(rng, rng.choices(kinds, weights)[0])
        index += 1
        a["n"] = index
        yield a


# ---- the text form: "kind key=value ..." with values quoted only when they must be ------------

# The typed text comes last: it may hold spaces, and all after "text=" is its Python literal.
_ORDER = ["n", "kind", "gap", "win", "x", "y", "x2", "y2", "button", "notches", "keys", "repeat",
          "bar", "right", "down", "what", "bytes", "seconds", "data", "ms", "back", "text"]


def format_action(a):
    parts = []
    for key in _ORDER:
        if key in a and key not in ("n", "kind"):
            parts.append(f"{key}={a[key]!r}" if key == "text" else f"{key}={a[key]}")
    return f"#{a['n']} {a['kind']} " + " ".join(parts)


def parse_action(text):
    """An action from format_action's text (the part of a log line after its time)."""
    head, found, literal = text.partition(" text=")
    words = head.split()
    a = {"n": int(words[0].lstrip("#")), "kind": words[1]}
    if found:
        a["text"] = ast.literal_eval(literal.strip())
    for word in words[2:]:
        key, _, value = word.partition("=")
        if key in ("win", "keys", "what"):
            a[key] = value
        elif key == "bar":
            a[key] = value == "True"
        elif key in ("x", "y", "x2", "y2"):
            a[key] = float(value)
        else:
            a[key] = int(value)
    return a
