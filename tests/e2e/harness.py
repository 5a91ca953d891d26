"""End-to-end harness: runs the Windows program under Wine on an X display and watches it.

Environment (scripts/test sets it up):
  TAPWISE_E2E_TEMPLATE  a pristine prefix, made once per run; every test works on its own clone
                        of it (WINEPREFIX when unset)
  DISPLAY               the X server the tests share (tests must therefore run one at a time)

A test typically does:

    with harness.Prefix() as prefix:
        prefix.import_reg(regfile.render(entries))
        prefix.hold_cursor(holder_exe, 300, 200)
        app = prefix.launch(exe)
        menu = app.wait_menu()
        ...
        harness.send_keys(menu, "Escape")
        app.wait_exit(timeout=8)

Python 3 standard library only.
"""

from __future__ import annotations

import os
import shutil
import subprocess
import tempfile
import time

import regfile
import wine_trace

WINE = "wine"
WINE64 = "/usr/lib/wine/wine64"  # regedit through it writes the 64-bit registry view
TRACE_CHANNELS = "trace+menu,trace+msgbox"
POLL_SECONDS = 0.02
SETTLE_SECONDS = 5  # a screen that still changes after this is a failure
PARK_POINT = (1, 1)  # where the X pointer waits while a prefix's cursor holder starts
DESKTOP_ATTEMPTS = 3  # starts of a prefix's Wine before its desktop counts as broken
DESKTOP_START_SECONDS = 10  # the desktop normally comes up in under a second


class HarnessError(AssertionError):
    """A step of the harness did not happen in time; a test failure, not a crash."""


def wait_until(condition, timeout: float, what: str):
    """Polls condition() until it returns something truthy; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise HarnessError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(POLL_SECONDS)


# ----- X display -----


def _xdotool(*args: str) -> str:
    done = subprocess.run(
        ["xdotool", *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True
    )
    return done.stdout if done.returncode == 0 else ""


def window_name(window: str) -> str:
    return _xdotool("getwindowname", window).rstrip("\n")


def visible_windows(classname: str | None = None, name: str | None = None) -> list[str]:
    """Visible windows by exact WM_CLASS or exact title."""
    if classname is not None:
        found = _xdotool("search", "--onlyvisible", "--classname", f"^{_regex_quote(classname)}$")
    else:
        found = _xdotool("search", "--onlyvisible", "--name", f"^{_regex_quote(name or '')}$")
    return found.split()


def _regex_quote(text: str) -> str:
    return "".join("\\" + c if c in r".^$*+?()[]{}|\\" else c for c in text)


def send_keys(window: str, *keys: str) -> None:
    """Focuses the window and types keys (xdotool key names). Does not move the pointer:
    hovering over a menu would change its selection."""
    subprocess.run(
        ["xdotool", "windowfocus", "--sync", window, "key", "--delay", "30", *keys],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        check=True,
    )


def pointer() -> tuple[int, int]:
    fields = dict(
        part.split(":", 1) for part in _xdotool("getmouselocation").split() if ":" in part
    )
    return int(fields.get("x", -1)), int(fields.get("y", -1))


def move_pointer(x: int, y: int) -> None:
    _xdotool("mousemove", str(x), str(y))


def _capture_screen() -> bytes:
    return subprocess.run(
        ["import", "-window", "root", "ppm:-"], stdout=subprocess.PIPE, check=True
    ).stdout


def settled_screen(timeout: float = SETTLE_SECONDS) -> bytes:
    """The whole screen as a PPM image, once two captures in a row are the same: what a window
    painted reaches the X server a little after its paint."""
    shots = [_capture_screen()]

    def settled():
        shots.append(_capture_screen())
        return shots.pop(0) == shots[0]

    wait_until(settled, timeout, "the screen to hold still")
    return shots[0]


def window_geometry(window: str) -> tuple[int, int, int, int]:
    """(x, y, width, height) of a window, from xdotool's shell output."""
    out = _xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return tuple(int(values.get(key, -1)) for key in ("X", "Y", "WIDTH", "HEIGHT"))


# ----- Wine prefixes -----


def template_prefix() -> str:
    template = os.environ.get("TAPWISE_E2E_TEMPLATE") or os.environ.get("WINEPREFIX", "")
    if not template or not os.path.isdir(os.path.join(template, "drive_c")):
        raise HarnessError(
            "TAPWISE_E2E_TEMPLATE (or WINEPREFIX) must name a template prefix (see scripts/test)"
        )
    return template


def clone_prefix(template: str, target: str) -> None:
    """A hard-link clone (fast), with real copies of the registry files.

    Wine saves the registry by writing a new file and renaming it over the old one, and a test
    program writes nothing else in place, so the template stays untouched. A test that must
    replace a file of its prefix uses Prefix.replace_file, which unlinks first. Falls back to
    a full copy when the two places are on different file systems.
    """
    linked = subprocess.run(
        ["cp", "-al", template, target], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
    )
    if linked.returncode != 0:
        shutil.rmtree(target, ignore_errors=True)
        subprocess.run(["cp", "-a", template, target], check=True)
        return
    for name in os.listdir(target):
        if name.endswith(".reg"):
            path = os.path.join(target, name)
            os.unlink(path)
            shutil.copy2(os.path.join(template, name), path)


class Prefix:
    """A fresh Wine prefix for one test, with its own running wineserver.

    By default a clone of the template (64-bit Windows). With arch="win32" a new prefix is made
    instead, playing 32-bit Windows: one registry view, no wine64, about 15 s more."""

    def __init__(self, template: str | None = None, arch: str | None = None):
        self.arch = arch
        self.template = template or template_prefix()
        parent = os.path.dirname(os.path.abspath(self.template))
        if not os.access(parent, os.W_OK):
            parent = None
        self.workdir = tempfile.mkdtemp(prefix="e2e-", dir=parent)
        self.path = os.path.join(self.workdir, "prefix")
        self._holder: subprocess.Popen | None = None
        self._apps: list[App] = []

    def __enter__(self) -> Prefix:
        try:
            if self.arch is None:
                clone_prefix(self.template, self.path)
            else:
                self._make()
            self._spawn(["wineserver", "-p"]).wait(timeout=30)
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc) -> None:
        self.close()

    def _make(self) -> None:
        """A new prefix of self.arch, set up as scripts/lib/wine.sh sets up the template."""
        steps = [
            ["wineboot", "-i"],
            [WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
            ["wineserver", "-w"],
        ]
        for args in steps:
            code = self._spawn(args, WINEARCH=self.arch).wait(timeout=120)
            if code != 0:
                raise HarnessError(f"could not make a {self.arch} prefix: {args} gave {code}")

    def env(self, **extra: str) -> dict[str, str]:
        env = dict(os.environ)
        env.update(WINEPREFIX=self.path, WINEDEBUG="-all")
        env.update(extra)
        return env

    def file(self, name: str) -> str:
        """A path in this test's scratch directory (beside the prefix)."""
        return os.path.join(self.workdir, name)

    def _spawn(self, args: list[str], stdout=None, stderr=None, **env: str) -> subprocess.Popen:
        # Output goes to files or /dev/null, never to a pipe: a Wine daemon started on the
        # way would inherit the pipe, and whoever reads it would wait for ever.
        return subprocess.Popen(
            args,
            env=self.env(**env),
            stdin=subprocess.DEVNULL,
            stdout=stdout or subprocess.DEVNULL,
            stderr=stderr or subprocess.DEVNULL,
            cwd=self.workdir,
        )

    def run(self, args: list[str], timeout: float = 60, **env: str) -> tuple[int, str]:
        """Runs a command in the prefix; returns its exit code and standard output."""
        out_path = self.file(f"out-{time.monotonic_ns()}.txt")
        with open(out_path, "wb") as out:
            code = self._spawn(args, stdout=out, **env).wait(timeout=timeout)
        with open(out_path, encoding="utf-8", errors="replace") as out:
            text = out.read()
        os.unlink(out_path)
        return code, text

    def import_reg(self, content: str, name: str = "seed.reg") -> None:
        """Imports a .reg file's text (REGEDIT4 or version 5) with the 64-bit regedit, so that
        keys land where their paths say: HKLM\\Software\\X in the 64-bit view,
        HKLM\\Software\\Wow6432Node\\X in the 32-bit one."""
        path = self.file(name)
        with open(path, "w", encoding="utf-16", newline="\r\n") as stream:
            stream.write(regfile.as_unicode(content))
        # A 32-bit system has one view, and no wine64 to reach another.
        regedit = WINE if self.arch == "win32" else WINE64
        code, _ = self.run([regedit, "regedit", "/S", windows_path(path)])
        if code != 0:
            raise HarnessError(f"regedit could not import {path} (exit code {code})")

    def reg_value(self, key: str, value: str, view64: bool = False) -> str | None:
        """Reads one value with `reg query`; None when it is missing."""
        found = self._reg_query([key, "/v", value], view64)
        return found[value][1] if found and value in found else None

    def reg_values(self, key: str, view64: bool = False) -> dict[str, tuple[str, str]] | None:
        """Every value of a key as name: (type, data as `reg query` prints it: a DWORD as 0x..);
        None when the key is missing."""
        return self._reg_query([key], view64)

    def _reg_query(self, query: list[str], view64: bool) -> dict[str, tuple[str, str]] | None:
        args = [WINE, "reg", "query", *query]
        if view64:
            args.append("/reg:64")
        code, out = self.run(args)
        if code != 0:
            return None
        values = {}
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = (parts[1], parts[2] if len(parts) == 3 else "")
        return values

    def replace_file(self, windows_relative: str, source: str) -> None:
        """Puts source at drive_c/<windows_relative>, unlinking the old file first so that the
        hard-linked template keeps its own copy."""
        target = os.path.join(self.path, "drive_c", *windows_relative.replace("\\", "/").split("/"))
        if os.path.lexists(target):
            os.unlink(target)
        shutil.copy(source, target)

    def hold_cursor(self, holder_exe: str, x: int, y: int, timeout: float = 20) -> None:
        """Starts the cursor holder, which keeps this prefix's desktop process up, and puts the
        pointer at (x, y), where it stays for the rest of the test.

        The holder asks Wine to move the pointer itself; Wine refuses when it cannot grab the
        pointer, and then the pointer is moved from outside, which Wine's programs see as long as
        the desktop process runs.

        Now and then Wine 8's desktop process fails to start ("The explorer process failed to
        start"), and every window of that Wine session then fails. The holder's window is the
        proof that it started; without it, this Wine is ended and started once more."""
        if self._holder is not None:
            raise HarnessError("the cursor holder already runs in this prefix")
        title = f"cursor holder {os.getpid()} {os.path.basename(self.workdir)}"
        for attempt in range(1, DESKTOP_ATTEMPTS + 1):
            move_pointer(*PARK_POINT)
            self._holder = self._spawn([WINE, holder_exe, str(x), str(y), title])
            try:
                wait_until(
                    lambda: _xdotool("search", "--name", f"^{_regex_quote(title)}$"),
                    DESKTOP_START_SECONDS,
                    "the cursor holder's window",
                )
                break
            except HarnessError:
                if attempt == DESKTOP_ATTEMPTS:
                    raise
                self._restart_wine()
        if pointer() != (x, y):
            move_pointer(x, y)
        wait_until(lambda: pointer() == (x, y), timeout, f"the pointer at {x},{y}")

    def set_dpi(self, dpi: int) -> None:
        """Sets the screen's DPI. Wine reads it only when it starts, so this prefix's Wine is
        started again: call it before anything runs in the prefix."""
        self.import_reg(regfile.render(regfile.log_pixels(dpi)), name=f"dpi-{dpi}.reg")
        self._restart_wine()

    def _restart_wine(self) -> None:
        subprocess.run(
            ["wineserver", "-k"],
            env=self.env(),
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            timeout=30,
        )
        if self._holder is not None:
            _reap(self._holder)
            self._holder = None
        self._spawn(["wineserver", "-p"]).wait(timeout=30)

    def launch(
        self, exe: str, channels: str = TRACE_CHANNELS, args: tuple[str, ...] = (), **env: str
    ) -> App:
        """Starts the program, with args, its debug trace going to a file."""
        app = App(self, exe, channels, env, args)
        self._apps.append(app)
        return app

    def close(self) -> None:
        if os.path.isdir(self.path):
            subprocess.run(
                ["wineserver", "-k"],
                env=self.env(),
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
                timeout=30,
            )
        for proc in [app.process for app in self._apps] + [self._holder]:
            if proc is not None:
                _reap(proc)
        shutil.rmtree(self.workdir, ignore_errors=True)


def _reap(proc: subprocess.Popen) -> None:
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def windows_path(unix_path: str) -> str:
    """The Z: drive name of a Unix path (Z: is the Unix root in every prefix)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


# ----- the program under test -----


class App:
    """One run of the program under test."""

    def __init__(
        self,
        prefix: Prefix,
        exe: str,
        channels: str,
        env: dict[str, str],
        args: tuple[str, ...] = (),
    ):
        self.prefix = prefix
        self.exe = os.path.abspath(exe)
        self.classname = os.path.basename(exe).lower()
        self.trace_path = prefix.file(f"trace-{os.path.basename(exe)}-{len(prefix._apps)}.txt")
        self.started = time.monotonic()
        self.ended: float | None = None
        with open(self.trace_path, "wb") as trace_file:
            self.process = prefix._spawn(
                [WINE, self.exe, *args], stderr=trace_file, WINEDEBUG=channels, **env
            )

    # Trace

    def trace(self) -> wine_trace.Trace:
        return wine_trace.parse_file(self.trace_path)

    def wait_popup(self, count: int = 1, timeout: float = 15) -> wine_trace.Trace:
        """Waits until the trace shows `count` pop-ups; returns the parsed trace."""

        def ready():
            trace = self.trace()
            return trace if len(trace.popups) >= count else None

        return wait_until(ready, timeout, f"pop-up number {count} in the trace")

    def wait_submenu_filled(self, submenu: int, timeout: float = 10) -> wine_trace.Trace:
        """Waits until the trace shows the submenu's items, filled as it opened: some items,
        and no more coming, since the trace is read while the program may still write it."""
        seen = {"count": 0}

        def filled():
            trace = self.trace()
            count = len(trace.menus.get(submenu) or [])
            settled = count > 0 and count == seen["count"]
            seen["count"] = count
            return trace if settled else None

        return wait_until(filled, timeout, f"the items of submenu {submenu:#x}")

    # Windows

    def menu_windows(self) -> list[str]:
        """Visible popup-menu windows: the program's unnamed override-redirect windows."""
        return [w for w in visible_windows(classname=self.classname) if not window_name(w)]

    def wait_menu(self, timeout: float = 15) -> str:
        """Waits for the popup menu to be on screen; returns its window."""
        windows = wait_until(self.menu_windows, timeout, "the popup menu window")
        return windows[0]

    def wait_menu_gone(self, timeout: float = 5) -> None:
        wait_until(lambda: not self.menu_windows(), timeout, "the popup menu to close")

    def wait_message_box(self, caption: str, timeout: float = 15) -> str:
        windows = wait_until(
            lambda: visible_windows(name=caption), timeout, f"a message box captioned {caption!r}"
        )
        return windows[0]

    # Process

    def running(self) -> bool:
        return self.process.poll() is None

    def wait_exit(self, timeout: float) -> float:
        """Waits for the process to end; returns the monotonic time at which it was seen gone."""

        def gone():
            if self.process.poll() is None:
                return None
            return time.monotonic()

        self.ended = wait_until(gone, timeout, f"{os.path.basename(self.exe)} to end")
        return self.ended


def named_windows(name: str) -> list[str]:
    """Windows with exactly this title, hidden ones too (a helper's never-shown window)."""
    return _xdotool("search", "--name", f"^{_regex_quote(name)}$").split()
