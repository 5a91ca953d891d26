#!/usr/bin/env python3
"""Time from start to menu under Wine, side by side with the yardsticks, in one run.

    python3 bench/menu_time.py --exe build/win32/TapwiseUninstaller.exe \\
        [--sizes 300,1000,5000,20000] [--runs 3] [--threads 2]

For each size, a clone of a template prefix is seeded with that many uninstall entries in each
HKLM view and 100 in HKCU (6 or 7 values each, half of them with an InstallDate), and these
run in turn, --runs times each (after one warm-up round at the first size, which brings Wine's
files into the page cache; each prefix has its registry loaded by the import):
  - program:   the program, until its popup menu is on screen;
  - bare 1:    bench's bare_reader.exe, one thread: the same keys, DisplayName, UninstallString
               and InstallDate of each entry, then one popup menu of every name;
  - bare N:    the same, each pass split over --threads threads (all passes at once);
  - wine list: Wine's own `uninstaller --list`, until it has printed its list and ended.
It prints the median of each, in milliseconds, and the program's time over each yardstick's.

WINEPREFIX or TAPWISE_E2E_TEMPLATE names the template prefix to clone (it is not changed);
without either, build/bench-prefix is made once. DISPLAY names the X server; without it, a
private Xvfb is started. bare_reader.exe and cursor_holder.exe are looked for near the program
(the win32 preset builds both). --smoke runs one tiny size once: it proves the comparison runs.
--breakdown also runs bench's rebuild_win32.exe in each seeded prefix: where the build's time goes.
Prints figures only; asserts nothing.
"""

from __future__ import annotations

import argparse
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402
import regfile  # noqa: E402

POINT = (400, 300)
FIRST_DISPLAY = 90
USER_ENTRIES = 100
SMOKE_SIZE = 20
DEFAULT_SIZES = "300,1000,5000,20000"


def entry(root: str, tag: str, n: int) -> regfile.Key:
    """Six values, and an InstallDate on every other entry; half are Windows Installer ones."""
    subkey = f"{{BENCH-{tag}-{n:05d}}}"
    folder = rf"C:\Program Files\Bench {tag} {n:05d}"
    values: dict[str, object] = {
        "DisplayName": f"Bench Program {tag} {n:05d}",
        "DisplayVersion": f"{1 + n % 9}.{n % 100}",
        "Publisher": f"Bench Maker {n % 50}",
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
    keys = [entry(regfile.UNINSTALL_32, "32", n) for n in range(per_view)]
    keys += [entry(regfile.UNINSTALL_64, "64", n) for n in range(per_view)]
    keys += [entry(regfile.UNINSTALL_USER, "user", n) for n in range(USER_ENTRIES)]
    return regfile.render(keys)


def start_xvfb() -> subprocess.Popen | None:
    if os.environ.get("DISPLAY"):
        return None
    for number in range(FIRST_DISPLAY, FIRST_DISPLAY + 100):
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


def menu_time(prefix: harness.Prefix, exe: str, args: tuple[str, ...], keys: tuple[str, ...],
              timeout: float) -> float:
    """Seconds from the start until the menu is on screen; then keys end the program."""
    app = prefix.launch(exe, channels="-all", args=args)
    menu = app.wait_menu(timeout=timeout)
    shown = time.monotonic()
    harness.send_keys(menu, *keys)
    app.wait_exit(timeout=timeout)
    return shown - app.started


def list_time(prefix: harness.Prefix, timeout: float) -> float:
    started = time.monotonic()
    prefix.run([harness.WINE, "uninstaller", "--list"], timeout=timeout)
    return time.monotonic() - started


class Contenders:
    """The four programs timed, each as a function of the prefix."""

    def __init__(self, exe: str, bare: str, threads: int, timeout: float):
        self.columns = ["program", "bare 1", f"bare {threads}", "wine list"]
        self.runs = [
            lambda p: menu_time(p, exe, (), ("End", "Return"), timeout),  # "Exit" is the last item
            lambda p: menu_time(p, bare, ("1",), ("Escape",), timeout),
            lambda p: menu_time(p, bare, (str(threads),), ("Escape",), timeout),
            lambda p: list_time(p, timeout),
        ]

    def round(self, prefix: harness.Prefix) -> list[float]:
        return [run(prefix) for run in self.runs]


def measure(
    size: int, runs: int, warm_up: bool, contenders: Contenders, holder: str, breakdown: str | None
) -> list[float]:
    """Median seconds per contender at one size, in a prefix of its own."""
    with harness.Prefix(template()) as prefix:
        began = time.monotonic()
        prefix.import_reg(catalogue(size))
        took = time.monotonic() - began
        print(f"  {size} per HKLM view: imported in {took:.1f} s", file=sys.stderr, flush=True)
        prefix.hold_cursor(holder, *POINT)
        if warm_up:
            contenders.round(prefix)  # loads and caches everything once
        rounds = [contenders.round(prefix) for _ in range(runs)]
        if breakdown:
            _, out = prefix.run([harness.WINE, breakdown], timeout=600)
            print(f"  where the build's time goes, {size} per HKLM view:\n{out}", file=sys.stderr)
    return [statistics.median(column) for column in zip(*rounds)]


def table(columns: list[str], results: dict[int, list[float]]) -> list[str]:
    head = f"{'entries/view':>12} " + " ".join(f"{c:>10}" for c in columns)
    ratios = [f"{'program/' + c:>17}" for c in columns[1:]]
    lines = [f"time to menu, median ms (HKLM both views + {USER_ENTRIES} in HKCU)", head + " " +
             " ".join(ratios)]
    for size, times in results.items():
        cells = " ".join(f"{t * 1000:>10.0f}" for t in times)
        quotients = " ".join(f"{times[0] / t:>17.2f}" for t in times[1:])
        lines.append(f"{size:>12} {cells} {quotients}")
    return lines


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sizes", default=DEFAULT_SIZES, help="entries per HKLM view")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--threads", type=int, default=2, help="per pass, for the bare reader")
    parser.add_argument("--smoke", action="store_true", help="one tiny size, once")
    parser.add_argument("--breakdown", action="store_true", help="also run rebuild_win32.exe")
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    bare = find_near(exe, "bare_reader.exe")
    holder = find_near(exe, "cursor_holder.exe")
    breakdown = find_near(exe, "rebuild_win32.exe") if args.breakdown else None
    sizes = [SMOKE_SIZE] if args.smoke else [int(s) for s in args.sizes.split(",")]
    runs = 1 if args.smoke else args.runs

    results: dict[int, list[float]] = {}
    xvfb = start_xvfb()
    try:
        for size in sizes:
            contenders = Contenders(exe, bare, args.threads, timeout=30 + size / 100)
            warm_up = not args.smoke and not results
            results[size] = measure(size, runs, warm_up, contenders, holder, breakdown)
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
    print("\n".join(table(contenders.columns, results)))


if __name__ == "__main__":
    main()
