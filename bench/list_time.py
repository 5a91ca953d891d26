#!/usr/bin/env python3
"""The list for scripts against the menu, under Wine, in one run.

    python3 bench/list_time.py --exe build/win32/TapwiseUninstaller.exe [--sizes 5000] [--runs 3]
        [--busy]

Each size seeds a clone of the template prefix as bench/menu_time.py does (that many entries in
each HKLM view and 100 in HKCU, with DisplayVersion, Publisher and EstimatedSize, half of them
Windows Installer ones). Then, in turns, --runs times each after one warm-up round:
  - menu:      the program, from its start until its popup menu is on screen (then "Exit");
  - /list:     the program with /list, its standard output a file, from its start to its end;
  - /list:csv: the same as CSV.
The list reads more than the menu's start: each listed entry's version, publisher, size and
quiet command, and whether its uninstaller is there. It prints the medians in milliseconds and
each list's time over the menu's. WINEPREFIX, TAPWISE_E2E_TEMPLATE, DISPLAY and --busy as for
bench/menu_time.py. Prints figures only; asserts nothing.
"""

from __future__ import annotations

import argparse
import os
import sys
import time

import menu_time
from menu_time import harness, xwatch

DEFAULT_SIZES = "5000"
LISTS = {"/list": ("/list",), "/list:csv": ("/list:csv",)}


def time_list(prefix: harness.Prefix, exe: str, args: tuple[str, ...], timeout: float) -> float:
    started = time.monotonic()
    code, listed = prefix.run([harness.WINE, exe, *args], timeout=timeout)
    took = time.monotonic() - started
    if code != 0 or not listed:
        raise harness.HarnessError(f"{' '.join(args)} gave {code} and {len(listed)} characters")
    return took


def time_menu(prefix: harness.Prefix, exe: str, watcher: xwatch.Watcher, timeout: float) -> float:
    app, menu, to_menu = menu_time.launch_to_menu(prefix, watcher, exe, (), timeout)
    menu_time.focus(menu)
    menu_time.end(app, watcher, "Up", "Return")  # nothing is selected: Up selects "Exit"
    return to_menu


def measure(size: int, runs: int, exe: str, holder: str, watcher: xwatch.Watcher) -> list[float]:
    """Median seconds of the menu and of each list, at one size."""
    timeout = 30 + size / 100
    with harness.Prefix(menu_time.template()) as prefix:
        prefix.import_reg(menu_time.catalogue(size))
        prefix.hold_cursor(holder, *menu_time.POINT)
        rounds = []
        for run in range(runs + 1):  # the first warms the page cache and is not counted
            times = [time_menu(prefix, exe, watcher, timeout)]
            times += [time_list(prefix, exe, args, timeout) for args in LISTS.values()]
            if run:
                rounds.append(times)
    return [menu_time.median(list(column)) for column in zip(*rounds)]


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sizes", default=DEFAULT_SIZES, help="entries per HKLM view")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--busy", action="store_true")
    parser.add_argument("--first-display", type=int, default=menu_time.FIRST_DISPLAY)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    holder = menu_time.find_near(exe, "cursor_holder.exe")
    xvfb = menu_time.start_xvfb(args.first_display)
    loops = menu_time.start_busy_loops() if args.busy else []
    load = f"busy ({os.cpu_count()} idle-priority loops)" if args.busy else "quiet"
    columns = ["menu", *LISTS]
    print(f"{load}, median of {args.runs} runs, ms; entries per HKLM view (+100 in HKCU)")
    print(f"{'entries':>8} " + " ".join(f"{c:>10}" for c in columns) +
          " " + " ".join(f"{c + '/menu':>15}" for c in LISTS))
    try:
        with xwatch.Watcher() as watcher:
            for size in (int(s) for s in args.sizes.split(",")):
                times = measure(size, args.runs, exe, holder, watcher)
                ratios = [t / times[0] for t in times[1:]]
                print(f"{size:>8} " + " ".join(f"{t * 1000:>10.0f}" for t in times) + " " +
                      " ".join(f"{r:>15.2f}" for r in ratios), flush=True)
    finally:
        menu_time.stop(loops)
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    sys.exit(main())
