"""A seeded random-input run of the program on a real display (started by tools/monkey/run.sh,
which sets up the display, the Wine prefix and the virtual lines first).

It clicks, drags, scrolls and types into the program's windows, closes file and print dialogs
with Esc, streams from the line's far end now and then, and reports the process ending, Wine's
word of a fault, a main window that does not answer for 5 s and a box opened over another
box. Every action goes to the log with its time; the same seed, or --replay of a log, does
the same actions again. At the end the settings and macro list files the run left are loaded
by a fresh start of the program, which must come up without a box.

  monkey.py --dry-run [--seed N] [--count N]   the actions of a seed, without a display
  monkey.py --self-check                      a seed's actions come out the same every time
"""

import argparse
import itertools
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# The run writes nothing beside its sources (no byte-code caches).
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import plan  # noqa: E402
import scratch  # noqa: E402
import xinput  # noqa: E402
from line import Line  # noqa: E402
from watch import ProbeWatch, StderrWatch  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def parse_args():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    p.add_argument("--seed", type=int, help="the seed of the actions (default: from the clock)")
    p.add_argument("--minutes", type=float, default=10, help="how long to run (default 10)")
    p.add_argument("--replay", metavar="LOG", help="do the actions of an earlier run's log")
    p.add_argument("--upto", type=int, help="with --replay: stop after this action number")
    p.add_argument("--dry-run", action="store_true", help="print the actions; touch nothing")
    p.add_argument("--count", type=int, default=200, help="with --dry-run: how many (200)")
    p.add_argument("--self-check", action="store_true",
                   help="check that a seed's actions come out the same twice and read back "
                        "from their log lines as they were; no display")
    p.add_argument("--out", help="the run's folder (default: a new one under $TMPDIR)")
    p.add_argument("--build-dir", default=os.path.join(ROOT, "build", "win32"))
    p.add_argument("--stop-on-finding", action="store_true", help="end at the first finding")
    args = p.parse_args()
    if args.seed is None:
        args.seed = int(time.time() * 1000) % 1000000
    return args


def replayed_actions(log, upto):
    """The actions of a run's log (the lines whose text after the time begins with #), or of a
    dry run's list (whose lines begin with #)."""
    for line in open(log):
        rest = line.strip()
        if not rest.startswith("#"):
            rest = rest.partition(" ")[2].strip()
        if not (rest.startswith("#") and rest[1:2].isdigit()):
            continue
        a = plan.parse_action(rest)
        if upto and a["n"] > upto:
            return
        yield a


class Run:
    def __init__(self, args):
        self.args = args
        self.start = time.monotonic()
        self.out = args.out or tempfile.mkdtemp(prefix=f"qv-monkey-{args.seed}-")
        os.makedirs(self.out, exist_ok=True)
        self.log = open(os.path.join(self.out, "actions.log"), "w", buffering=1)
        self.events = open(os.path.join(self.out, "windows.log"), "w", buffering=1)
        self.stderr_log = open(os.path.join(self.out, "wine-stderr.log"), "w", buffering=1)
        self.findings = []
        self.findings_lock = threading.Lock()
        self.recent = []  # the last action lines, for each finding
        self.program = None
        self.stderr_watch = None
        self.replug_at = None
        self.actions_done = 0
        self.starts = 0

    def clock(self):
        return time.monotonic() - self.start

    def note(self, text):
        """An event of the run (not an action): logged with its time, marked with "!"."""
        line = f"{self.clock():9.3f} ! {text}"
        self.log.write(line + "\n")
        self.recent.append(line)
        del self.recent[:-12]

    def finding(self, kind, message):
        with self.findings_lock:
            stderr_tail = self.stderr_watch.lines[-6:] if self.stderr_watch else []
            f = {"time": self.clock(), "kind": kind, "message": message,
                 "before": list(self.recent[-8:]), "stderr": list(stderr_tail)}
            self.findings.append(f)
            self.note(f"FINDING {kind}: {message}")
            print(f"{self.clock():8.1f}s {kind}: {message}", flush=True)

    # ---- the program ---------------------------------------------------------------------

    def start_program(self, folder):
        self.starts += 1
        self.probe.forget()
        self.program = subprocess.Popen(["wine", os.path.join(folder, "quorvalink.exe")],
                                        cwd=folder, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.stderr_watch = StderrWatch(self.program.stderr, self.stderr_log, self.clock,
                                        lambda line: self.finding("fault", line))
        self.stderr_watch.start()
        self.note(f"program started (pid {self.program.pid}) in {folder}")
        if not self.probe.wait_for_main(90):
            self.finding("start", "no main window that answers within 90 s of the start")
        self.windows = xinput.ProgramWindows(self.program.pid)

    def end_program(self):
        if self.program and self.program.poll() is None:
            # Our own process; a hung or dying one would not answer a polite request.
            self.program.send_signal(signal.SIGKILL)
            self.program.wait()
        if self.stderr_watch:
            self.stderr_watch.join(timeout=5)

    def check_program(self):
        """A program that ended is started again, a finding unless it ended as a user closes it;
        one whose main window has not answered for 30 s is ended and started again."""
        code = self.program.poll()
        if code is None:
            if self.probe.hung_since is not None and self.clock() - self.probe.hung_since > 30:
                self.note("the main window has not answered for 30 s: ending the program")
                self.end_program()
                self.start_program(self.scratch)
            return
        self.stderr_watch.join(timeout=5)
        if code != 0:
            self.finding("ended", f"the process ended with exit code {code}")
        else:
            self.note("the program ended with exit code 0 (closed by the input)")
        self.start_program(self.scratch)

    # ---- actions ---------------------------------------------------------------------------

    def react(self):
        """File and print dialogs are closed with Esc rather than given a path."""
        for dialog in self.probe.dialogs_to_close():
            self.note(f'Esc to the {dialog.kind} dialog "{dialog.title}"')
            window = self.windows.titled(dialog.title)
            if window:
                xinput.activate(window)
            if self.windows.owns_focus():
                xinput.keys("Escape")
            time.sleep(0.5)

    def focus_for_keys(self):
        if self.windows.owns_focus():
            return True
        top = self.windows.pick("top")
        if top:
            self.note(f"focus to the program's window {top[0]}")
            xinput.activate(top[0])
        return self.windows.owns_focus()

    def perform(self, a):
        kind = a["kind"]
        if kind in ("click", "dblclick", "rclick", "scroll", "drag"):
            target = self.windows.pick(a["win"])
            if not target:
                self.note("no window of the program is shown")
                return
            g = target[1]
            if kind == "click":
                xinput.click(g, a["x"], a["y"])
            elif kind == "dblclick":
                xinput.click(g, a["x"], a["y"], count=2)
            elif kind == "rclick":
                xinput.click(g, a["x"], a["y"], button=3)
            elif kind == "scroll":
                xinput.click(g, a["x"], a["y"], button=a["button"], count=a["notches"])
            else:
                xinput.drag(g, a["x"], a["y"], a["x2"], a["y2"])
        elif kind in ("key", "chord", "type", "close", "menu"):
            if not self.focus_for_keys():
                self.note("the focus is on no window of the program: keys not sent")
                return
            if kind == "key":
                xinput.keys(a["keys"], a["repeat"])
            elif kind == "chord":
                xinput.keys(a["keys"])
            elif kind == "close":
                xinput.keys("alt+F4")
            elif kind == "menu":
                xinput.keys("F10" if a["bar"] else "shift+F10")
                for key, times in (("Right", a["right"]), ("Down", a["down"])):
                    if times:
                        xinput.keys(key, times)
                xinput.keys("Return")
            else:
                xinput.type_text(a["text"])
        elif kind == "stream":
            if self.line.plugged():
                self.line.stream(a["what"], a["bytes"], a["seconds"], a["data"])
        elif kind == "idle":
            time.sleep(a["ms"] / 1000)
        elif kind == "unplug":
            if self.line.plugged():
                self.line.unplug()
                self.replug_at = self.clock() + a["back"]

    def run(self):
        args = self.args
        what = f"replay of {args.replay}" if args.replay else f"seed {args.seed}"
        self.log.write(f"# {what}; {time.strftime('%Y-%m-%d %H:%M:%S UTC', time.gmtime())}"
                       f"; display {os.environ.get('DISPLAY')}\n")
        dosdevices = os.path.join(os.environ["WINEPREFIX"], "dosdevices")
        scratch.map_run_drive(dosdevices, self.out)
        self.scratch = os.path.join(self.out, "scratch")
        scratch.prepare(self.scratch, os.path.join(args.build_dir, "app", "quorvalink.exe"))
        self.line = Line(os.environ["QV_LINE_HELPER"],
                         os.path.join(os.environ["WINEPREFIX"], "dosdevices"),
                         os.environ["QV_LINE_DIR"], os.path.join(self.out, "line.ready"))
        self.line.plug()
        # Started from the run's folder too: it is the only drive of the host's files.
        probe_exe = os.path.join(self.out, "qv_monkey_probe.exe")
        shutil.copy2(os.path.join(args.build_dir, "tools", "monkey", "qv_monkey_probe.exe"),
                     probe_exe)
        self.probe = ProbeWatch(["wine", probe_exe, "500"], os.environ, self.events, self.clock,
                                self.finding)
        self.probe.start()
        try:
            self.start_program(self.scratch)
            source = (replayed_actions(args.replay, args.upto) if args.replay
                      else plan.actions(args.seed))
            deadline = self.clock() + args.minutes * 60
            for a in source:
                if self.clock() >= deadline or (args.stop_on_finding and self.findings):
                    break
                self.check_program()
                if self.replug_at is not None and self.clock() >= self.replug_at:
                    self.note("the line is plugged in again")
                    self.line.plug()
                    self.replug_at = None
                try:
                    self.react()
                    time.sleep(a["gap"] / 1000)
                    line = f"{self.clock():9.3f} {plan.format_action(a)}"
                    self.log.write(line + "\n")
                    self.recent.append(line)
                    del self.recent[:-12]
                    self.perform(a)
                except (RuntimeError, subprocess.TimeoutExpired) as e:
                    self.note(f"the action could not be done: {e}")
                self.actions_done += 1
            self.check_program()
            minutes = self.clock() / 60
            self.end_program()
            if not self.line.plugged():
                self.line.plug()
            self.check_files()
        finally:
            self.end_program()
            self.probe.stop()
            self.line.unplug()
        self.report(minutes)
        return 1 if self.findings else 0

    def check_files(self):
        """The files the run left, loaded by a fresh start of the program in a folder of its
        own: the main window must come up and no box with it."""
        folder = os.path.join(self.out, "load-check")
        left = scratch.copy_left_files(self.scratch, folder)
        self.note(f"load check of {', '.join(left) or 'no files'}")
        found_before = len(self.findings)
        self.start_program(folder)
        time.sleep(4)
        boxes = [w for w in self.probe.windows if w.cls != "TForm1" and self.probe.is_box(w)]
        if boxes:
            self.finding("load", "a start on the files the run left shows "
                         + "; ".join(b.describe() for b in boxes))
        if self.program.poll() is not None:
            self.finding("load", f"a start on the files the run left ended (code "
                                 f"{self.program.poll()})")
        if len(self.findings) == found_before:
            self.note("the files the run left load without a box")
        self.load_check = (left, len(self.findings) == found_before)

    def report(self, minutes):
        what = f"replay of {self.args.replay}" if self.args.replay else f"seed {self.args.seed}"
        lines = [f"{what}: {minutes:.1f} minutes, {self.actions_done} actions, "
                 f"{self.starts - 1} starts of the program after the first (load check included), "
                 f"{len(self.findings)} findings; the run's folder: {self.out}"]
        left, ok = getattr(self, "load_check", ([], False))
        lines.append(f"load check of {', '.join(left) or 'no files'}: {'ok' if ok else 'FAILED'}")
        for f in self.findings:
            lines.append(f"\n{f['time']:9.3f} {f['kind']}: {f['message']}")
            lines.append("  actions before it:")
            lines += ["    " + b for b in f["before"]]
            if f["stderr"]:
                lines.append("  Wine's stderr:")
                lines += ["    " + s for s in f["stderr"]]
        text = "\n".join(lines) + "\n"
        open(os.path.join(self.out, "findings.txt"), "w").write(text)
        print(text, end="")


def self_check(seeds=(1, 7, 123456), count=2000):
    for seed in seeds:
        first = list(itertools.islice(plan.actions(seed), count))
        second = list(itertools.islice(plan.actions(seed), count))
        if first != second:
            print(f"seed {seed}: two lists of its actions differ")
            return 1
        lines = [f"{i * 0.25:9.3f} {plan.format_action(a)}" for i, a in enumerate(first)]
        with tempfile.NamedTemporaryFile("w", suffix=".log") as log:
            log.write("\n".join(lines) + "\n")
            log.flush()
            if list(replayed_actions(log.name, None)) != first:
                print(f"seed {seed}: its log does not read back as the same actions")
                return 1
    print(f"self-check: {len(seeds)} seeds, {count} actions each, the same twice and from the log")
    return 0


def main():
    args = parse_args()
    if args.self_check:
        return self_check()
    if args.dry_run:
        source = (replayed_actions(args.replay, args.upto) if args.replay
                  else itertools.islice(plan.actions(args.seed), args.count))
        print(f"# replay of {args.replay}" if args.replay else f"# seed {args.seed}")
        for a in source:
            print(plan.format_action(a))
        return 0
    return Run(args).run()


if __name__ == "__main__":
    sys.exit(main())
