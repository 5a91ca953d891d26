#!/usr/bin/env python3
"""How long the program takes from its start to its popup menu, with a large uninstall registry.

    python3 bench/menu_time.py --exe build/win32/TapwiseUninstaller.exe [--entries 1000] [--runs 5]

Seeds --entries uninstall entries into each view of HKLM (one generated .reg import) in a clone
of a template prefix, then starts the program --runs times and prints, per run:
  - traced: the time to the TrackPopupMenu line of Wine's menu trace (tracing slows Wine down)
  - plain:  the time until the menu window is on screen, without any tracing
Each run ends the program through "Exit".

WINEPREFIX names the template prefix to clone (it is not changed); without it, build/bench-prefix
is made once. DISPLAY names the X server; without it, a private Xvfb is started.
Prints figures only; asserts nothing. Not part of scripts/test.
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
TRACK_LINE = b"NtUserTrackPopupMenuEx"
FIRST_DISPLAY = 90


def catalogue(entries: int) -> str:
    keys = []
    for root in (regfile.UNINSTALL_32, regfile.UNINSTALL_64):
        for n in range(entries):
            subkey = f"{{BENCH-{n:05d}-{'32' if root == regfile.UNINSTALL_32 else '64'}}}"
            values: dict[str, object] = {
                "DisplayName": f"Bench Program {n:04d}",
                "UninstallString": regfile.ExpandSz(f"MsiExec.exe /X{subkey}"),
                "DisplayIcon": rf"C:\Program Files\Bench {n:04d}\bench.exe,0",
            }
            if n % 3:
                values["InstallDate"] = f"2023{1 + n % 12:02d}{1 + n % 28:02d}"
            keys.append(regfile.program(root, subkey, **values))
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
    if os.environ.get("WINEPREFIX"):
        return os.environ["WINEPREFIX"]
    path = os.path.join(ROOT, "build", "bench-prefix")
    if not os.path.isdir(os.path.join(path, "drive_c")):
        print(f"making {path} (about half a minute, once)", flush=True)
        script = 'source "$1/scripts/lib/common.sh"; source "$1/scripts/lib/wine.sh"; '
        script += 'wine_make_prefix "$2"'
        subprocess.run(["bash", "-c", script, "-", ROOT, path], check=True)
    return path


def find_holder(exe: str) -> str:
    build = os.path.dirname(os.path.abspath(exe))
    for _ in range(3):
        for candidate in ("cursor_holder.exe", os.path.join("tests", "e2e", "cursor_holder.exe")):
            path = os.path.join(build, candidate)
            if os.path.isfile(path):
                return path
        build = os.path.dirname(build)
    sys.exit("cursor_holder.exe not found near the program; build the win32 preset")


def wait_for_line(path: str, needle: bytes, timeout: float) -> float:
    """Reads the growing trace incrementally until the line shows; returns when it did."""
    deadline = time.monotonic() + timeout
    offset = 0
    tail = b""
    while time.monotonic() < deadline:
        with open(path, "rb") as stream:
            stream.seek(offset)
            chunk = stream.read()
        offset += len(chunk)
        if needle in tail + chunk:
            return time.monotonic()
        tail = chunk[-len(needle) :]
        time.sleep(0.002)
    raise harness.HarnessError("no TrackPopupMenu line in the trace")


def one_run(prefix: harness.Prefix, exe: str, traced: bool) -> float:
    app = prefix.launch(exe, channels="trace+menu" if traced else "-all")
    if traced:
        shown = wait_for_line(app.trace_path, TRACK_LINE, timeout=60)
        menu = app.wait_menu(timeout=30)
    else:
        menu = app.wait_menu(timeout=60)
        shown = time.monotonic()
    harness.send_keys(menu, "Up", "Return")
    app.wait_exit(timeout=30)
    return shown - app.started


def summary(label: str, times: list[float]) -> str:
    ms = [t * 1000 for t in times]
    runs = " ".join(f"{t:.0f}" for t in ms)
    return (
        f"{label:>7}: min {min(ms):.0f} ms, median {statistics.median(ms):.0f} ms, "
        f"max {max(ms):.0f} ms   (runs: {runs})"
    )


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--entries", type=int, default=1000, help="per HKLM view")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    holder = find_holder(exe)

    xvfb = start_xvfb()
    try:
        with harness.Prefix(template()) as prefix:
            began = time.monotonic()
            prefix.import_reg(catalogue(args.entries))
            print(f"imported {2 * args.entries} entries in {time.monotonic() - began:.2f} s")
            prefix.hold_cursor(holder, *POINT)
            one_run(prefix, exe, traced=False)  # warm-up: loads and caches everything once
            traced = [one_run(prefix, exe, traced=True) for _ in range(args.runs)]
            plain = [one_run(prefix, exe, traced=False) for _ in range(args.runs)]
        print(f"start to menu, {args.entries} entries per HKLM view, {args.runs} runs each:")
        print(summary("traced", traced))
        print(summary("plain", plain))
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()
