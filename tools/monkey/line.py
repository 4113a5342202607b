"""The run's COM1: a virtual line (the bench's line helper in echo mode) whose far end also
streams now and then, and which can be taken away and brought back like an unplugged adapter.
"""

import os
import random
import signal
import subprocess
import threading
import time


class Line:
    def __init__(self, helper, dosdevices, lines_dir, ready):
        # READY: where the helper tells whether the line is up (a file in the run's folder).
        self.helper, self.dosdevices, self.lines_dir, self.ready = (helper, dosdevices, lines_dir,
                                                                    ready)
        self.proc = None
        self.peer = None  # the far end's pty, opened for writing
        self.stream_thread = None
        self.stop_stream = threading.Event()
        self.lock = threading.Lock()

    def plug(self):
        ready = self.ready
        if os.path.exists(ready):
            os.remove(ready)  # the report of the line before an unplug
        os.makedirs(self.lines_dir, exist_ok=True)
        # The line lives as long as this run (its owner is our own process).
        self.proc = subprocess.Popen(
            [self.helper, "--dosdevices", self.dosdevices, "--lines", self.lines_dir, "--ready",
             ready, "--watch", str(os.getpid()), "--first", "1", "--last", "1", "--echo"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.exists(ready) and os.path.getsize(ready) > 0:
                break
            time.sleep(0.05)
        report = open(ready).read().split() if os.path.exists(ready) else ["missing"]
        if report[:1] != ["ok"]:
            raise RuntimeError(f"the virtual line did not come up: {' '.join(report)}")
        # In echo mode the helper loops the program's bytes back; what is written to the
        # peer's pty reaches the program as well.
        with self.lock:
            self.peer = os.open(report[3], os.O_WRONLY | os.O_NOCTTY | os.O_NONBLOCK)

    def unplug(self):
        self.stop_stream.set()
        with self.lock:
            if self.peer is not None:
                os.close(self.peer)
                self.peer = None
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            self.proc.wait(timeout=10)
        self.proc = None

    def plugged(self):
        return self.proc is not None and self.proc.poll() is None

    def stream(self, what, total, seconds, data_seed):
        """Sends TOTAL bytes over SECONDS from the far end, in the background."""
        if self.stream_thread and self.stream_thread.is_alive():
            return False  # one stream at a time
        self.stop_stream.clear()
        payload = _payload(what, total, data_seed)
        self.stream_thread = threading.Thread(target=self._send, args=(payload, seconds),
                                              daemon=True)
        self.stream_thread.start()
        return True

    def _send(self, payload, seconds):
        chunk = 256 if seconds else 65536
        pause = seconds / max(1, len(payload) // chunk)
        sent = 0
        while sent < len(payload) and not self.stop_stream.is_set():
            with self.lock:
                if self.peer is None:
                    return
                try:
                    sent += os.write(self.peer, payload[sent:sent + chunk])
                except BlockingIOError:
                    pass  # the program reads slower than we send: wait for it
                except OSError:
                    return
            time.sleep(pause if pause > 0.001 else 0.001)


def _payload(what, total, data_seed):
    rng = random.Random(data_seed)
    if what == "bytes":
        return bytes(rng.getrandbits(8) for _ in range(total))
    if what == "burst":
        return (b"0123456789ABCDEF" * (total // 16 + 1))[:total]
    out = bytearray()
    n = 0
    while len(out) < total:
        n += 1
        words = " ".join(rng.choice(["status", "OK", "ERROR", "temp", "=", "42", "ready", "AT"])
                         for _ in range(rng.randint(1, 12)))
        out += f"{n:06d} {words}".encode() + rng.choice([b"\r\n", b"\n", b"\r"])
    return bytes(out[:total])
