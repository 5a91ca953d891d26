#!/usr/bin/env python3
"""Time from start to menu under Wine, side by side with the yardsticks, and time to open
"All Programs", in one run.

    python3 bench/menu_time.py --exe build/win32/TapwiseUninstaller.exe \\
        [--before OLD.exe] [--sizes 300,1000,5000,20000] [--runs 3] [--threads N] [--busy]
        [--scan-threads] [--icons]

For each size, a clone of a template prefix is seeded with that many uninstall entries in each
HKLM view and 100 in HKCU (6 or 7 values each, half of them with an InstallDate). Their display
names are real program names (bench/data/program-names.tsv, in a fixed mixed order), one in
three followed by its version; past the list's end they come round again with " (2)", " (3)".
These run in turn, --runs times each (after one warm-up round at the first size, which brings
Wine's files into the page cache; each prefix has its registry loaded by the import):
  - program:   the program, until its popup menu is on screen; then, with the menu focused,
               Down selects "All Programs" and Right opens it: the time from Right to the
               submenu on screen is the first opening; Left closes it, and Right again gives
               the second opening; then "Exit";
  - before:    with --before, another build of the program, timed as the program is (its
               openings are not timed): a change's before and after in one run. The two take
               turns to go first in a round, since the first of a round is measured slower;
  - bare 1:    bench's bare_reader.exe, one thread: the same keys, and of each entry the values
               and file lookups the list needs, then a popup menu whose submenus stay empty;
  - bare N:    the same on N threads at once, every key split into ranges: by default the
               program's own budget for this machine ("budget"), or --threads N;
  - wine list: Wine's own `uninstaller --list`, until it has printed its list and ended.
It prints the median of each, in milliseconds, and the program's time over each yardstick's,
and over the faster of the two bare readers ("program/bare"); then the medians of the two
openings. --scan-threads also runs bench's scan_threads_win32.exe in each seeded prefix: the
scan alone with 1 to 8 threads in flight; --icons runs icons_win32.exe there, and the one beside
--before's program if there is one: the time per icon.

A menu is on screen when the X server maps its window; bench/xwatch.py reads that event as it
comes and sends the keys itself; the run prints how late such an event is read (a window of
its own, mapped and seen, before and after the sizes).

--busy keeps every core busy with an idle-priority loop (`chrt --idle 0`) for the whole run: on
a virtual machine, a round trip to wineserver costs several times more when the CPUs are idle
and must wake, and the loops keep them awake without taking time from the programs. Report a
quiet and a busy run.

WINEPREFIX or TAPWISE_E2E_TEMPLATE names the template prefix to clone (it is not changed);
without either, build/bench-prefix is made once. DISPLAY names the X server; without it, a
private Xvfb is started at the first free display from --first-display (default 70, or
TAPWISE_BENCH_FIRST_DISPLAY; the test scripts start theirs from 90). bare_reader.exe and
cursor_holder.exe are looked for near the program (the win32 preset builds both). --smoke runs
one tiny size once, one opening included: it proves the comparison runs. --breakdown also runs
bench's rebuild_win32.exe in each seeded prefix: where the build's time goes.
Prints figures only; asserts nothing.
"""

from __future__ import annotations

import argparse
import functools
import hashlib
import math
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402
import regfile  # noqa: E402
import xwatch  # noqa: E402

POINT = (400, 300)
FIRST_DISPLAY = int(os.environ.get("TAPWISE_BENCH_FIRST_DISPLAY", "70"))
USER_ENTRIES = 100
SMOKE_SIZE = 20
DEFAULT_SIZES = "300,1000,5000,20000"
NAMES = os.path.join(ROOT, "bench", "data", "program-names.tsv")
VERSIONED_EVERY = 3  # many installers write "Name 1.2.3" as the display name, most do not
SETTLE_SECONDS = 0.2  # after a key that is not timed, so that its drawing is not timed either
EXIT_SECONDS = 10  # "Exit" ends the program at once; past this it is ended by its PID
BUSY_LOOP = ["chrt", "--idle", "0", "sh", "-c", "while :; do :; done"]


# ----- the catalogue -----


@functools.cache
def program_names() -> list[tuple[str, str, str]]:
    """(name, version, publisher), each name once whatever its case, in an order fixed by a
    hash of the name: the file is sorted by publisher, and the first few hundred of it would
    all begin with digits and A."""
    rows = []
    seen = set()
    with open(NAMES, encoding="utf-8") as stream:
        next(stream)
        for line in stream:
            name, version, publisher = line.rstrip("\n").split("\t")
            if name.casefold() not in seen:
                seen.add(name.casefold())
                rows.append((name, version, publisher))
    rows.sort(key=lambda row: hashlib.sha1(row[0].encode()).digest())
    return rows


def display_names(count: int) -> list[tuple[str, str, str]]:
    """count entries' (display name, version, publisher), every display name distinct."""
    rows = program_names()
    entries = []
    taken = set()
    for i in range(count):
        name, version, publisher = rows[i % len(rows)]
        if i >= len(rows):
            name = f"{name} ({i // len(rows) + 1})"
        if i % VERSIONED_EVERY == 0:
            name = f"{name} {version}"
        unique, again = name, 2
        while unique.casefold() in taken:  # "Foo" with version 2 against a real "Foo 2"
            unique, again = f"{name} [{again}]", again + 1
        taken.add(unique.casefold())
        entries.append((unique, version, publisher))
    return entries


def entry(root: str, tag: str, n: int, named: tuple[str, str, str]) -> regfile.Key:
    """Six values, and an InstallDate on every other entry; half are Windows Installer ones."""
    display_name, version, publisher = named
    subkey = f"{{BENCH-{tag}-{n:05d}}}"
    folder = rf"C:\Program Files\Bench {tag} {n:05d}"
    values: dict[str, object] = {
        "DisplayName": display_name,
        "DisplayVersion": version,
        "Publisher": publisher,
        "UninstallString": (
            regfile.ExpandSz(f"MsiExec.exe /X{subkey}") if n % 2 else rf'"{folder}\unins000.exe" /S'
        ),
        "DisplayIcon": rf"{folder}\bench.exe,0",
        "EstimatedSize": regfile.Dword(1024 + n),
    }
    if n % 2 == 0:
        values["InstallDate"] = f"2023{1 + n % 12:02d}{1 + n % 28:02d}"
    return regfile.program(root, subkey, **values)


def catalogue(per_view: int) -> str:
    """Names are dealt out across the views in turn, so no name is in two of them."""
    named = display_names(2 * per_view + USER_ENTRIES)
    views = [(regfile.UNINSTALL_32, "32", per_view), (regfile.UNINSTALL_64, "64", per_view),
             (regfile.UNINSTALL_USER, "user", USER_ENTRIES)]
    keys = []
    for root, tag, count in views:
        first = len(keys)
        keys += [entry(root, tag, n, named[first + n]) for n in range(count)]
    return regfile.render(keys)


# ----- the machine -----


def start_xvfb(first: int) -> subprocess.Popen | None:
    if os.environ.get("DISPLAY"):
        return None
    for number in range(first, first + 100):
        if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        for _ in range(100):
            ready = subprocess.run(
                ["xdpyinfo", "-display", f":{number}"],
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
            )
            if ready.returncode == 0:
                os.environ["DISPLAY"] = f":{number}"
                return server
            if server.poll() is not None:
                break
            time.sleep(0.1)
        server.kill()
        server.wait()
    sys.exit("no free X display for Xvfb")


def start_busy_loops() -> list[subprocess.Popen]:
    """One idle-priority loop per core: the CPUs never sleep, the programs lose no time."""
    return [
        subprocess.Popen(BUSY_LOOP, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        for _ in range(os.cpu_count() or 1)
    ]


def stop(processes: list[subprocess.Popen]) -> None:
    for process in processes:
        process.kill()
    for process in processes:
        process.wait()


def template() -> str:
    for variable in ("TAPWISE_E2E_TEMPLATE", "WINEPREFIX"):
        if os.environ.get(variable):
            return os.environ[variable]
    path = os.path.join(ROOT, "build", "bench-prefix")
    if not os.path.isdir(os.path.join(path, "drive_c")):
        print(f"making {path} (about half a minute, once)", flush=True)
        script = 'source "$1/scripts/lib/common.sh"; source "$1/scripts/lib/wine.sh"; '
        script += 'wine_make_prefix "$2"'
        subprocess.run(["bash", "-c", script, "-", ROOT, path], check=True)
    return path


def find_near(exe: str, name: str) -> str:
    build = os.path.dirname(os.path.abspath(exe))
    for _ in range(3):
        for candidate in (name, os.path.join("bench", name), os.path.join("tests", "e2e", name)):
            path = os.path.join(build, candidate)
            if os.path.isfile(path):
                return path
        build = os.path.dirname(build)
    sys.exit(f"{name} not found near the program; build the win32 preset")


# ----- the contenders -----


def launch_to_menu(prefix: harness.Prefix, watcher: xwatch.Watcher, exe: str,
                   args: tuple[str, ...], timeout: float) -> tuple[harness.App, int, float]:
    """Starts exe; returns it, its menu window and the seconds until that was on screen."""
    watcher.forget()
    app = prefix.launch(exe, channels="-all", args=args)
    found = watcher.wait_menu(app.classname, timeout)
    if found is None:
        raise harness.HarnessError(f"no menu of {os.path.basename(exe)} after {timeout:.0f} s")
    menu, shown = found
    return app, menu, shown - app.started


def end(app: harness.App, watcher: xwatch.Watcher, *keys: str) -> None:
    """Types keys that end the program; what is still running after EXIT_SECONDS is killed."""
    if keys:
        watcher.press(*keys)
    try:
        app.wait_exit(timeout=EXIT_SECONDS)
    except harness.HarnessError:
        app.process.kill()
        app.process.wait()


def focus(menu: int) -> None:
    subprocess.run(["xdotool", "windowfocus", "--sync", str(menu)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)


def open_all_programs(watcher: xwatch.Watcher, app: harness.App, menu: int,
                      timeout: float) -> tuple[list[float], bool]:
    """Seconds from Right to the "All Programs" submenu on screen, at its first and second
    opening; a missing one is NaN. Also whether the submenu was closed again."""
    focus(menu)
    watcher.press("Down")  # nothing is selected yet: Down selects the first item
    time.sleep(SETTLE_SECONDS)
    openings = []
    for _ in range(2):
        watcher.forget()
        sent = watcher.press("Right")
        found = watcher.wait_menu(app.classname, timeout, old={menu})
        if found is None:
            return openings + [math.nan] * (2 - len(openings)), False
        submenu, shown = found
        openings.append(shown - sent)
        watcher.press("Left")
        if watcher.wait_gone(submenu, timeout) is None:
            return openings + [math.nan] * (2 - len(openings)), False
        time.sleep(SETTLE_SECONDS)
    return openings, True


class Contenders:
    """The programs timed, in one round per prefix."""

    def __init__(self, exe: str, before: str | None, bare: str, threads: str,
                 watcher: xwatch.Watcher, timeout: float):
        self.exe, self.before, self.bare, self.threads = exe, before, bare, threads
        self.watcher, self.timeout = watcher, timeout
        self.rounds = 0
        self.columns = ["program"] + (["before"] if before else []) + [
            "bare 1", f"bare {threads}", "wine list"]

    def program(self, prefix: harness.Prefix, exe: str,
                timed_openings: bool = True) -> tuple[float, list[float]]:
        app, menu, to_menu = launch_to_menu(prefix, self.watcher, exe, (), self.timeout)
        if not timed_openings:
            focus(menu)
            end(app, self.watcher, "Up", "Return")  # nothing is selected: Up selects "Exit"
            return to_menu, []
        openings, closed = open_all_programs(self.watcher, app, menu, self.timeout)
        # With the submenu closed, "All Programs" is selected and Up wraps to "Exit", the last.
        end(app, self.watcher, *(("Up", "Return") if closed else ()))
        return to_menu, openings

    def bare_reader(self, prefix: harness.Prefix, threads: str) -> float:
        app, _, to_menu = launch_to_menu(prefix, self.watcher, self.bare, (threads,),
                                         self.timeout)
        end(app, self.watcher, "Escape")
        return to_menu

    def wine_list(self, prefix: harness.Prefix) -> float:
        started = time.monotonic()
        prefix.run([harness.WINE, "uninstaller", "--list"], timeout=self.timeout)
        return time.monotonic() - started

    def round(self, prefix: harness.Prefix) -> tuple[list[float], list[float]]:
        """Times to menu, one per column, and the program's two openings. With --before, the
        two builds take turns to go first: whichever starts a round is measured slower."""
        self.rounds += 1
        before_first = bool(self.before) and self.rounds % 2 == 0
        if before_first:
            before = [self.program(prefix, self.before, timed_openings=False)[0]]
        to_menu, openings = self.program(prefix, self.exe)
        if self.before and not before_first:
            before = [self.program(prefix, self.before, timed_openings=False)[0]]
        elif not self.before:
            before = []
        times = [to_menu] + before + [self.bare_reader(prefix, "1"),
                                      self.bare_reader(prefix, self.threads),
                                      self.wine_list(prefix)]
        return times, openings


def median(values: list[float]) -> float:
    known = [v for v in values if not math.isnan(v)]
    return statistics.median(known) if known else math.nan


def measure(size: int, runs: int, warm_up: bool, contenders: Contenders, holder: str,
            extras: list[str]) -> tuple[list[float], list[float]]:
    """Median seconds per contender at one size, and of each opening, in a prefix of its own."""
    with harness.Prefix(template()) as prefix:
        began = time.monotonic()
        prefix.import_reg(catalogue(size))
        took = time.monotonic() - began
        print(f"  {size} per HKLM view: imported in {took:.1f} s", file=sys.stderr, flush=True)
        prefix.hold_cursor(holder, *POINT)
        if warm_up:
            contenders.round(prefix)  # loads and caches everything once
        rounds = [contenders.round(prefix) for _ in range(runs)]
        for extra in extras:
            _, out = prefix.run([harness.WINE, extra], timeout=600)
            print(f"  {extra}, {size} per HKLM view:\n{out}", file=sys.stderr,
                  flush=True)
    times = [median(list(column)) for column in zip(*(r[0] for r in rounds))]
    openings = [median(list(column)) for column in zip(*(r[1] for r in rounds))]
    return times, openings


# ----- the report -----


def ms(seconds: float, width: int) -> str:
    return f"{'-':>{width}}" if math.isnan(seconds) else f"{seconds * 1000:>{width}.0f}"


def table(columns: list[str], results: dict[int, tuple[list[float], list[float]]],
          load: str, latencies: list[float]) -> list[str]:
    head = f"{'entries/view':>12} " + " ".join(f"{c:>10}" for c in columns)
    ratios = [f"{'program/' + c:>17}" for c in columns[1:]] + [f"{'program/bare':>13}"]
    bare = [i for i, c in enumerate(columns) if c.startswith("bare")]
    lines = [f"time to menu, median ms (HKLM both views + {USER_ENTRIES} in HKCU), {load}",
             head + " " + " ".join(ratios)]
    for size, (times, _) in results.items():
        cells = " ".join(ms(t, 10) for t in times)
        quotients = " ".join(f"{times[0] / t:>17.2f}" for t in times[1:])
        fastest_bare = min(times[i] for i in bare)
        lines.append(f"{size:>12} {cells} {quotients} {times[0] / fastest_bare:>13.2f}")
    lines += ["", f'opening "All Programs", median ms from Right to the submenu on screen, {load}',
              f"{'entries/view':>12} {'entries':>10} {'first':>10} {'second':>10}"]
    for size, (_, openings) in results.items():
        cells = " ".join(ms(t, 10) for t in openings)
        lines.append(f"{size:>12} {2 * size + USER_ENTRIES:>10} {cells}")
    late = " and ".join(f"{t * 1e6:.0f}" for t in latencies)
    lines.append(f"(a window is seen when the X server reports it mapped: read {late} µs after "
                 f"the map, median of 50 before and after the sizes; no polling interval)")
    return lines


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sizes", default=DEFAULT_SIZES, help="entries per HKLM view")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--before", help="another build of the program, timed beside it")
    parser.add_argument("--threads", default="budget",
                        help="threads for the bare reader's second run (default: the program's)")
    parser.add_argument("--busy", action="store_true",
                        help="an idle-priority busy loop per core for the whole run")
    parser.add_argument("--first-display", type=int, default=FIRST_DISPLAY,
                        help="where to look for a free display when DISPLAY is unset")
    parser.add_argument("--smoke", action="store_true", help="one tiny size, once")
    parser.add_argument("--breakdown", action="store_true", help="also run rebuild_win32.exe")
    parser.add_argument("--scan-threads", action="store_true",
                        help="also run scan_threads_win32.exe")
    parser.add_argument("--icons", action="store_true",
                        help="also run icons_win32.exe, and the one beside --before's")
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    bare = find_near(exe, "bare_reader.exe")
    holder = find_near(exe, "cursor_holder.exe")
    before = os.path.abspath(args.before) if args.before else None
    extras = [find_near(exe, "rebuild_win32.exe")] if args.breakdown else []
    extras += [find_near(exe, "scan_threads_win32.exe")] if args.scan_threads else []
    if args.icons:
        extras.append(find_near(exe, "icons_win32.exe"))
        beside_before = os.path.join(os.path.dirname(before or ""), "icons_win32.exe")
        extras += [beside_before] if before and os.path.isfile(beside_before) else []
    sizes = [SMOKE_SIZE] if args.smoke else [int(s) for s in args.sizes.split(",")]
    runs = 1 if args.smoke else args.runs
    load = f"busy ({os.cpu_count()} idle-priority loops)" if args.busy else "quiet"

    results: dict[int, tuple[list[float], list[float]]] = {}
    xvfb = start_xvfb(args.first_display)
    loops = start_busy_loops() if args.busy else []
    try:
        with xwatch.Watcher() as watcher:
            latencies = [watcher.latency()]
            for size in sizes:
                contenders = Contenders(exe, before, bare, args.threads, watcher,
                                        timeout=30 + size / 100)
                warm_up = not args.smoke and not results
                results[size] = measure(size, runs, warm_up, contenders, holder, extras)
            latencies.append(watcher.latency())
    finally:
        stop(loops)
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
    print("\n".join(table(contenders.columns, results, load, latencies)))


if __name__ == "__main__":
    main()
