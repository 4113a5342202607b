"""The run's scratch folder: a copy of the program with the files it keeps beside itself (its
settings, its macro list, the notes), so the run writes nothing anywhere else.
"""

import os
import shutil

# The run's folder is the prefix's only drive of the host's files (see monkey.py): a path typed
# into a save dialog before its Esc cannot reach anything else.
RUN_DRIVE = "s:"

SETTINGS = "quorvalink.ini"
MACROS = "qvmacros.ini"
LEFT_FILES = [SETTINGS, MACROS, "notes.rtf"]


def map_run_drive(dosdevices, run_folder):
    """The run's folder as the prefix's drive RUN_DRIVE, in place of Wine's Z: (the whole host)."""
    z = os.path.join(dosdevices, "z:")
    if os.path.lexists(z):
        os.unlink(z)
    drive = os.path.join(dosdevices, RUN_DRIVE)
    if os.path.lexists(drive):
        os.unlink(drive)
    os.symlink(os.path.abspath(run_folder), drive)


def _wine_path(path, run_folder):
    return RUN_DRIVE.upper() + "\\" + os.path.relpath(path, run_folder).replace("/", "\\")


def prepare(folder, exe):
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(exe, os.path.join(folder, "quorvalink.exe"))
    # The default screen font is a Windows font Wine lacks (as in tools/run.sh); the line runs
    # at 115,200 baud.
    with open(os.path.join(folder, SETTINGS), "w", newline="") as f:
        f.write("[Serial Port Section]\r\nBAUD=115200\r\n"
                "[Font Section]\r\nFONT_NAME=DejaVu Sans Mono\r\n")
    # A file to send, and a macro list whose items a click can run: a string, a pause, a
    # signal, the file.
    sample = os.path.join(folder, "send.txt")
    with open(sample, "wb") as f:
        f.write(b"".join(b"%05d the quick brown fox jumps over the lazy dog\r\n" % i
                         for i in range(4000)))
    items = [
        ("Greeting", "Data String", "says hello", "0", "", "hello\\r\\n"),
        ("Slow greeting", "Data String", "", "20", "", "AT\\r"),
        ("Pause", "Delay in ms", "", "500", "", ""),
        ("RTS on", "Control Signal", "", "", "RTS ON", ""),
        ("DTR off", "Control Signal", "", "", "DTR OFF", ""),
        ("Send the file", "File", "the sample", "0", "", _wine_path(sample, os.path.dirname(folder))),
    ]
    with open(os.path.join(folder, MACROS), "w", newline="") as f:
        f.write("[MACRO_LIST]\r\n!|_1|_0|_251|_200\r\n+|_Sample|_|_a few items|_|_|_\r\n")
        for item in items:
            f.write("-" + "".join("|_" + field for field in item) + "\r\n")


def copy_left_files(source, folder):
    """The program and the files a run left in SOURCE, copied to FOLDER; their names."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(os.path.join(source, "quorvalink.exe"), os.path.join(folder, "quorvalink.exe"))
    left = []
    for name in LEFT_FILES:
        if os.path.exists(os.path.join(source, name)):
            shutil.copy2(os.path.join(source, name), os.path.join(folder, name))
            left.append(name)
    return left
