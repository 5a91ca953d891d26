#!/usr/bin/env python3
"""Time from a process's start to its first registry read of its own, under Wine: the fixed
cost that comes before the catalogue, for the program and for the bare reader beside it.

    python3 bench/first_read.py --exe build/win32/TapwiseUninstaller.exe [--before OLD.exe]
        [--runs 7]

Each contender starts --runs times in a clone of the template prefix (as bench/menu_time.py
finds it), with Wine's trace of timestamps, loaded libraries and registry calls. The desktop is
already up (a cursor holder runs throughout), as it is for a user. A run ends, by its PID, once
its trace shows the first read that is the contender's own: the program's key under "Software"
or the uninstall key. From the trace it prints, medians in milliseconds:
  - seen:    from the spawn to the process's first trace line (exec and Wine's loader);
  - first read: from the first trace line to the first read of its own;
and, for the median run, when each library was loaded before that read. The trace itself slows Wine's start (it logs
every registry call Wine makes for itself), the same for every contender: compare the rows.
Prints figures only; asserts nothing.
"""

from __future__ import annotations

import argparse
import os
import re
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "bench"))

import harness  # noqa: E402
import menu_time  # noqa: E402

CHANNELS = "+timestamp,+pid,+loaddll,+reg"
LINE = re.compile(r"^\s*(\d+\.\d+):([0-9a-f]+):[0-9a-f]+:(\w+):(\w+):(.*)$")
LOADED = re.compile(r'Loaded L"(?:[^"\\]|\\.)*\\\\([^"\\]+)"')
OWN_READ = re.compile(r'NtOpenKeyEx \(0x[0-9a-f]+,L"(Software\\\\Quillon|SOFTWARE\\\\Microsoft\\\\Windows'
                      r'\\\\CurrentVersion\\\\Uninstall)', re.IGNORECASE)
TIMEOUT = 30


def clock_ms() -> float:
    """Wine's trace stamps come from the same clock."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000


class Run:
    """One traced start: stamps in ms of Wine's clock, from the lines of the contender's
    process (the one that loads its executable)."""

    def __init__(self, trace: str, exe_name: str, spawned: float):
        lines = [m.groups() for m in map(LINE.match, trace.splitlines()) if m]
        pid = next((pid for _, pid, _, channel, text in lines if channel == "loaddll"
                    and (found := LOADED.search(text)) and found.group(1).lower()
                    == exe_name.lower()), None)
        own = [(float(stamp) * 1000, channel, text)
               for stamp, line_pid, _, channel, text in lines if line_pid == pid]
        self.first = own[0][0] if own else None
        self.seen = self.first - spawned if own else None
        self.read = None
        self.libraries: list[tuple[str, float]] = []  # after the first line
        for ms, channel, text in own:
            if channel == "reg" and OWN_READ.search(text):
                self.read = ms
                break
            if channel == "loaddll" and (found := LOADED.search(text)):
                self.libraries.append((found.group(1), ms - self.first))


def one_run(prefix: harness.Prefix, exe: str) -> Run:
    spawned = clock_ms()
    app = prefix.launch(exe, channels=CHANNELS)
    name = os.path.basename(exe)
    deadline = time.monotonic() + TIMEOUT
    try:
        while time.monotonic() < deadline:
            with open(app.trace_path, encoding="utf-8", errors="replace") as stream:
                trace = stream.read()
            run = Run(trace, name, spawned)
            if run.read is not None:
                return run
            time.sleep(0.05)
        raise harness.HarnessError(f"no read of its own in {name}'s trace")
    finally:
        app.process.kill()
        app.process.wait()


def median(values: list[float]) -> float:
    return statistics.median(values)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--before", help="another build of the program, timed beside it")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--first-display", type=int, default=menu_time.FIRST_DISPLAY)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    contenders = [("program", exe)]
    if args.before:
        contenders.append(("before", os.path.abspath(args.before)))
    contenders.append(("bare reader", menu_time.find_near(exe, "bare_reader.exe")))
    holder = menu_time.find_near(exe, "cursor_holder.exe")

    xvfb = menu_time.start_xvfb(args.first_display)
    rows = []
    try:
        with harness.Prefix(menu_time.template()) as prefix:
            prefix.hold_cursor(holder, *menu_time.POINT)
            for label, path in contenders:
                one_run(prefix, path)  # its files into the page cache
                runs = [one_run(prefix, path) for _ in range(args.runs)]
                rows.append((label, runs))
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
    print(f"time to the first read of its own under Wine, median of {args.runs} runs, ms "
          f"(traced: {CHANNELS})")
    print(f"{'':>12} {'seen':>8} {'first read':>11}")
    for label, runs in rows:
        seen = median([r.seen for r in runs])
        read = median([r.read - r.first for r in runs])
        print(f"{label:>12} {seen:>8.1f} {read:>11.1f}")
    for label, runs in rows:
        middle = sorted(runs, key=lambda r: r.read - r.first)[len(runs) // 2]
        loaded = ", ".join(f"{name} {ms:.0f}" for name, ms in middle.libraries)
        print(f"{label}, the median run: libraries loaded (ms after its first line): {loaded}; "
              f"first read at {middle.read - middle.first:.0f}")


if __name__ == "__main__":
    main()
