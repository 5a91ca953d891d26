#!/usr/bin/env python3
"""Time from a typed key to the item it selects in "All Programs", under Wine.

    python3 bench/type_time.py --exe build/win32/TapwiseUninstaller.exe [--size 1000] [--runs 5]

A clone of a template prefix is seeded as bench/menu_time.py seeds it, with --size entries in
each HKLM view and 100 in HKCU (real program names). The program is started with Wine's menu
trace, "All Programs" is opened with the keyboard, and a name near the end of the list is
picked whose first letters no earlier name begins with. Each run then selects the first item
(Home), waits past the typing pause, and types those letters 150 ms apart; the figure is the
time from the last key leaving (XTEST, bench/xwatch.py) to the selection of that item, which
the trace shows as Wine's own record of the WM_MENUSELECT it sends ("owner ... index ...
select ..."). A selection maps no window, so the trace is the only witness: it is read as it is
written, every millisecond, and a selection counts from the moment its line is read. The figure
is an upper bound: Wine's own trace timestamps come in whole milliseconds on a clock of its own.

WINEPREFIX or TAPWISE_E2E_TEMPLATE names the template prefix; DISPLAY the X server (otherwise a
private Xvfb from --first-display). Prints figures only; asserts nothing.
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

import harness  # noqa: E402
import menu_time  # noqa: E402
import xwatch  # noqa: E402

CHANNELS = "+menu"
KEY_GAP = 0.15  # seconds between the letters typed: well inside the one-second pause
PAUSE = 1.2  # seconds: past the typing pause, so that the next run starts a new text
TAIL = 0.05  # of the list, where the name typed is picked
MOST_LETTERS = 4
TIMEOUT = 10.0
# Wine's record of a selection, sent as WM_MENUSELECT: the menu and the item's position.
_SELECT = re.compile(r"select_item owner \S+ menu (?:0x)?([0-9a-fA-F]+) index (?:0x)?([0-9a-fA-F]+)")


def typed_prefix(names: list[str]) -> tuple[int, str]:
    """The last item near the end reachable by at most MOST_LETTERS letters or digits that no
    earlier name begins with: its position and those letters."""
    folded = [name.casefold() for name in names]
    first = len(names) - max(1, int(len(names) * TAIL))
    for index in range(len(names) - 1, first - 1, -1):
        for length in range(1, MOST_LETTERS + 1):
            prefix = folded[index][:length]
            if not prefix.isascii() or not prefix.isalnum():
                break
            if not any(other.startswith(prefix) for other in folded[:index]):
                return index, prefix
    sys.exit("no name near the end can be typed in a few letters")


class TraceTail:
    """Reads the trace as the program writes it."""

    def __init__(self, path: str):
        self._stream = open(path, encoding="utf-8", errors="replace")
        self._stream.seek(0, os.SEEK_END)
        self._rest = ""

    def close(self) -> None:
        self._stream.close()

    def skip(self) -> None:
        self._stream.seek(0, os.SEEK_END)
        self._rest = ""

    def wait_selection(self, menu: int, index: int, timeout: float) -> float | None:
        """When the selection of the item at index of menu was read (monotonic seconds)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            chunk = self._stream.read()
            if not chunk:
                time.sleep(0.001)
                continue
            lines = (self._rest + chunk).split("\n")
            self._rest = lines.pop()
            for line in lines:
                found = _SELECT.search(line)
                if found and int(found[1], 16) == menu and int(found[2], 16) == index:
                    return time.monotonic()
        return None


def run(exe: str, size: int, runs: int, holder: str) -> list[float]:
    with harness.Prefix(menu_time.template()) as prefix, xwatch.Watcher() as watcher:
        prefix.import_reg(menu_time.catalogue(size))
        prefix.hold_cursor(holder, *menu_time.POINT)
        app = prefix.launch(exe, channels=CHANNELS)
        try:
            return type_runs(app, watcher, runs)
        finally:
            menu_time.end(app, watcher, "Escape", "Escape")


def type_runs(app: harness.App, watcher: xwatch.Watcher, runs: int) -> list[float]:
    menu = app.wait_menu()
    trace = app.wait_popup(1)
    submenu = trace.submenu_of(trace.popups[0].menu, "All Programs")
    subprocess.run(["xdotool", "windowfocus", "--sync", menu],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    watcher.press("Down")
    time.sleep(menu_time.SETTLE_SECONDS)
    watcher.press("Right")
    trace = app.wait_submenu_filled(submenu, timeout=60)
    names = [caption.replace("&&", "&") for caption in trace.captions(submenu)]
    index, letters = typed_prefix(names)
    print(f"  {len(names)} items; typing {letters!r} selects number {index + 1}, "
          f"{names[index]!r}", file=sys.stderr, flush=True)
    tail = TraceTail(app.trace_path)
    times = []
    try:
        for _ in range(runs):
            watcher.press("Home")
            time.sleep(PAUSE)
            for letter in letters[:-1]:
                watcher.press(letter)
                time.sleep(KEY_GAP)
            tail.skip()
            sent = watcher.press(letters[-1])
            selected = tail.wait_selection(submenu, index, TIMEOUT)
            times.append(float("nan") if selected is None else selected - sent)
    finally:
        tail.close()
    return times


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--size", type=int, default=1000, help="entries per HKLM view")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--first-display", type=int, default=menu_time.FIRST_DISPLAY)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    holder = menu_time.find_near(exe, "cursor_holder.exe")
    xvfb = menu_time.start_xvfb(args.first_display)
    try:
        times = run(exe, args.size, args.runs, holder)
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
    total = 2 * args.size + menu_time.USER_ENTRIES
    known = [t for t in times if t == t]
    middle = f"{statistics.median(known) * 1000:.1f}" if known else "-"
    shown = " ".join("-" if t != t else f"{t * 1000:.1f}" for t in times)
    print(f"key to selection near the end of All Programs ({total} entries): median {middle} ms"
          f" (runs: {shown})")

if __name__ == "__main__":
    main()
