#!/usr/bin/env python3
"""The leftovers finder's time under Wine, with many programs listed.

    python3 bench/leftovers_time.py --exe build/win32/TapwiseUninstaller.exe [--sizes 1000]
        [--runs 3]

Each size seeds a clone of the template prefix as bench/menu_time.py does (that many entries
in each HKLM view and 100 in HKCU). Then, in turns, --runs times each after one warm-up round:
  - none:   /leftovers with no record kept: the start, and every entry read once;
  - record: /leftovers with one record of a removed program kept, whose folders hold files, so
            that the finder runs once against every entry listed.
The difference is the finder's own time. WINEPREFIX, TAPWISE_E2E_TEMPLATE as for
bench/menu_time.py. Prints figures only; asserts nothing.
"""

from __future__ import annotations

import argparse
import os
import shutil
import sys
import time

import menu_time
from menu_time import harness

RECORD = """Tapwise uninstall record 1
entry=HKLM32/Bench%20Removed
name=Bench Removed 2.0
publisher=Bench Corp
version=2.0
install_location=C:\\\\Program Files (x86)\\\\Bench Corp\\\\Removed
uninstaller_folder=C:\\\\Program Files (x86)\\\\Bench Corp\\\\Removed
icon_folder=
time={time}
"""


def records_folder(prefix: harness.Prefix) -> str:
    users = os.path.join(prefix.path, "drive_c", "users")
    (user,) = [u for u in os.listdir(users) if u.lower() != "public"]
    return os.path.join(users, user, "AppData", "Local", "Quillon", "Tapwise Uninstaller",
                        "Uninstall records")


def keep_record(prefix: harness.Prefix) -> None:
    folder = os.path.join(records_folder(prefix), time.strftime("%Y-%m-%d %H-%M-%S"))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "record.txt"), "w", encoding="utf-8", newline="\n") as out:
        out.write(RECORD.format(time=time.strftime("%Y-%m-%d %H:%M:%S")))
    program = os.path.join(prefix.path, "drive_c", "Program Files (x86)", "Bench Corp", "Removed")
    os.makedirs(os.path.join(program, "logs"), exist_ok=True)
    with open(os.path.join(program, "logs", "removed.log"), "w") as log:
        log.write("left behind")


def time_leftovers(prefix: harness.Prefix, exe: str, timeout: float) -> tuple[float, str]:
    started = time.monotonic()
    code, found = prefix.run([harness.WINE, exe, "/leftovers"], timeout=timeout)
    took = time.monotonic() - started
    if code != 0:
        raise harness.HarnessError(f"/leftovers gave {code}")
    return took, found


def measure(size: int, runs: int, exe: str) -> list[float]:
    timeout = 60 + size / 50
    with harness.Prefix(menu_time.template()) as prefix:
        prefix.import_reg(menu_time.catalogue(size))
        rounds = []
        for run in range(runs + 1):  # the first warms the page cache and is not counted
            shutil.rmtree(records_folder(prefix), ignore_errors=True)
            none, _ = time_leftovers(prefix, exe, timeout)
            keep_record(prefix)
            record, found = time_leftovers(prefix, exe, timeout)
            if "Bench Removed" not in found:
                raise harness.HarnessError(f"the record was not reported: {found[:200]}")
            if run:
                rounds.append((none, record))
    return [menu_time.median(list(column)) for column in zip(*rounds)]


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sizes", default="1000", help="entries per HKLM view")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    print(f"median of {args.runs} runs, ms; entries per HKLM view (+100 in HKCU)")
    print(f"{'entries':>8} {'none':>8} {'record':>8} {'finder':>8}")
    for size in (int(s) for s in args.sizes.split(",")):
        none, record = measure(size, args.runs, exe)
        print(f"{size:>8} {none * 1000:>8.0f} {record * 1000:>8.0f} {(record - none) * 1000:>8.0f}",
              flush=True)


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main()
