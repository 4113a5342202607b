"""What a random-input run watches for: Wine's word of a fault on the program's stderr, and,
through the probe inside Wine, a main window that does not answer and a box opened over
another box. Each watcher runs on a thread of its own and hands what it finds to a callback.
"""

import re
import subprocess
import threading
import time

# Lines of Wine's (or the C runtime's) stderr that mean the program met a fault. Handled
# exceptions print nothing with the run's WINEDEBUG.
FAULT = re.compile(r"Unhandled|page fault|unhandled exception|Assertion .* failed|"
                   r"stack overflow|abnormal program termination|terminate called|"
                   r"wine: .*(exception|fault)|err:seh", re.IGNORECASE)


class StderrWatch(threading.Thread):
    """Copies the program's stderr to the run's file, each line with its time."""

    def __init__(self, stream, logfile, clock, on_fault):
        super().__init__(daemon=True)
        self.stream, self.logfile, self.clock, self.on_fault = stream, logfile, clock, on_fault
        self.lines = []

    def run(self):
        for raw in self.stream:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self.lines.append(line)
            self.logfile.write(f"{self.clock():9.3f} {line}\n")
            self.logfile.flush()
            if FAULT.search(line):
                self.on_fault(line)


class Window:
    """One of the program's top-level windows as the probe saw it."""

    def __init__(self, fields):
        (self.hwnd, self.cls, visible, enabled, self.owner, left, top, right, bottom, self.kind,
         self.title, self.text) = (fields + [""] * 12)[:12]
        self.visible, self.enabled = visible == "1", enabled == "1"
        self.rect = tuple(int(v) for v in (left, top, right, bottom)) if bottom else (0, 0, 0, 0)

    def describe(self):
        text = f": {self.text}" if self.text else ""
        state = "" if self.enabled else ", disabled"
        owner = f", owner {self.owner}" if self.owner.strip("0") else ""
        return f'{self.kind} "{self.title}" ({self.cls} {self.hwnd}{state}{owner}){text}'


def _unescape(text):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m[1], m[1]), text)


class ProbeWatch(threading.Thread):
    """Reads the probe's reports; keeps the last one and judges each."""

    # A modal window disables its owner (a box with an owner, a modal form every other window
    # of its thread). A window seen first while its owner or the main window was disabled is
    # taken to be modal; one seen first with both enabled (the options dialog, the notes
    # editor, the find dialog) is not, even when a box disables it later. Nor is one seen
    # first while itself disabled: while a box is up the program disables every other window,
    # so a modeless window that comes up under it (the notes editor, whose load error is shown
    # before it; the find dialog, just before a box it owns) is held, not holding.
    # Only dialog boxes and the program's own forms (their classes begin with T) are boxes:
    # menus, drop-down lists and tool tips are top-level windows too. Wine's own about box
    # and licence, which any window's system menu opens, are not the program's.
    WINE_OWN_TITLES = ("About Wine", "Wine License")

    @classmethod
    def is_box(cls, w):
        if w.title.startswith(cls.WINE_OWN_TITLES):
            return False
        return w.cls == "#32770" or (w.cls.startswith("T") and w.cls != "TForm1")

    def __init__(self, command, env, logfile, clock, on_finding):
        super().__init__(daemon=True)
        self.proc = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.logfile, self.clock, self.on_finding = logfile, clock, on_finding
        self.windows = []  # the last report's windows, the topmost first
        self.answering = None  # the last ping's state: "ok", "timeout" or "none"
        self.modal = {}  # hwnd -> whether it was modal when first seen, in the order seen
        self.over_reported = set()
        self.hung_since = None
        self.reports = 0
        self.reports_at_forget = 0

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def forget(self):
        """A new start of the program: its windows are new ones."""
        self.modal.clear()
        self.over_reported.clear()
        self.hung_since = None
        self.windows, self.answering = [], None
        self.reports_at_forget = self.reports

    def run(self):
        windows = []
        for raw in self.proc.stdout:
            fields = [_unescape(f) for f in raw.decode("utf-8", "replace").rstrip("\r\n").split("\t")]
            if fields[0] == "win":
                windows.append(Window(fields[1:]))
            elif fields[0] == "ping":
                self._judge(windows, fields[1], int(fields[2]) if len(fields) > 2 else 0)
            elif fields[0] == "end":
                windows = []

    def _judge(self, windows, answer, took_ms):
        self.windows = [w for w in windows if w.visible]
        self.answering = answer
        self.reports += 1
        now = self.clock()
        if answer == "timeout":
            if self.hung_since is None:
                self.hung_since = now
                self.on_finding("hang", f"the main window did not answer WM_NULL within "
                                        f"{took_ms} ms")
        elif answer == "ok" and self.hung_since is not None:
            self.logfile.write(f"{now:9.3f} the main window answers again after "
                               f"{now - self.hung_since:.1f} s\n")
            self.hung_since = None

        by_handle = {w.hwnd: w for w in windows}
        main = next((w for w in windows if w.cls == "TForm1"), None)
        for w in self.windows:
            if w.hwnd in self.modal or w is main:
                continue
            owner = by_handle.get(w.owner)
            self.modal[w.hwnd] = w.enabled and bool((owner and not owner.enabled) or
                                                    (main and not main.enabled))
        boxes = [w for w in self.windows if self.modal.get(w.hwnd) and self.is_box(w)]
        if len(boxes) >= 2:
            # Once for each box that had another opened over it: while it stays up, every
            # later box would be the same finding again.
            lowest = min(boxes, key=lambda b: list(self.modal).index(b.hwnd))
            if lowest.hwnd not in self.over_reported:
                self.over_reported.add(lowest.hwnd)
                self.on_finding("box-over-box", "; ".join(b.describe() for b in boxes))
        self.logfile.write(f"{now:9.3f} ping {answer} {took_ms} ms; "
                           + "; ".join(w.describe() for w in self.windows) + "\n")
        self.logfile.flush()

    def dialogs_to_close(self):
        """The file and print dialogs up now: the run closes them with Esc."""
        return [w for w in self.windows if w.kind in ("file", "print")]

    def wait_for_main(self, timeout):
        """Whether the program's main window exists and answers within TIMEOUT seconds."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            # The first report after forget() may have begun before it: the second is new.
            # The main window need not be shown yet: a box of the start-up (a port that
            # cannot be opened) comes before it.
            fresh = self.reports >= self.reports_at_forget + 2
            if fresh and self.answering == "ok":
                return True
            time.sleep(0.1)
        return False
