"""Shared steps of the suites that test the program's two actions, uninstalling a program and
ending a process: the test programs and installers, choosing an item with the keyboard, and
starting the program more than once in one prefix.

Installers are built from tests/e2e/installers/ on first use, once per run of a suite, into a
temporary directory that is removed when the suite ends.
"""

from __future__ import annotations

import atexit
import glob
import os
import shutil
import subprocess
import tempfile
import time

import e2e_case
import harness
import regfile

INSTALLERS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "installers")
NSIS_SCRIPT = os.path.join(INSTALLERS_DIR, "nsis_app.nsi")
MSI_SOURCE = os.path.join(INSTALLERS_DIR, "msi_app.wxs")

UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
HKLM_UNINSTALL = rf"HKEY_LOCAL_MACHINE\{UNINSTALL_KEY}"  # the 32-bit view, as `wine reg` sees it
HKCU_UNINSTALL = rf"HKEY_CURRENT_USER\{UNINSTALL_KEY}"

INSTALL_SECONDS = 30  # an installer normally takes under a second
REMOVAL_SECONDS = 15  # from the choice to the uninstaller's work being done
EXIT_SECONDS = 10
START_SECONDS = 10  # for a helper program to come up
LAST = "Last"  # the value that remembers the last uninstall command
# The program starts the system's taskkill.exe from System32, which a 32-bit program on a 64-bit
# system finds in the 32-bit system directory.
TASKKILL = r"windows\syswow64\taskkill.exe"
TASKKILL_LOG = r"C:\windows\syswow64\taskkill.log"

STILL_PRESENT = (
    'You tried to uninstall "{name}", but it still exists.\r\r'
    "Would you like to uninstall it using more powerful uninstaller?"
)

_build_dir: str | None = None


# ----- built programs -----


def helper_exe(name: str) -> str:
    """A helper program built beside the cursor holder (tests/e2e/helpers/<name>.cpp)."""
    path = os.path.join(os.path.dirname(e2e_case._options.cursor_holder), f"{name}.exe")
    if not os.path.isfile(path):
        raise harness.HarnessError(f"{path} is not built")
    return path


def _builds() -> str:
    global _build_dir
    if _build_dir is None:
        _build_dir = tempfile.mkdtemp(prefix="tapwise-installers-")
        atexit.register(shutil.rmtree, _build_dir, True)
    return _build_dir


def _build(output: str, args: list[str]) -> str:
    if not os.path.exists(output):
        # makensis and wixl are native programs and start no daemon: a pipe is safe here.
        done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if done.returncode != 0:
            raise harness.HarnessError(f"{args[0]} failed:\n{done.stdout}")
    return output


def makensis(script: str, name: str, *defines: str) -> str:
    """An installer made from an NSIS script, with -D defines, once per run of a suite."""
    output = os.path.join(_builds(), name)
    return _build(output, ["makensis", "-V2", f"-DOUT_FILE={output}", *defines, script])


def nsis_installer(per_user: bool) -> str:
    """The NSIS test installer: per user (HKCU) or per machine (HKLM)."""
    name = "nsis-user.exe" if per_user else "nsis-machine.exe"
    return makensis(NSIS_SCRIPT, name, *(["-DPER_USER"] if per_user else []))


def msi_package() -> str:
    output = os.path.join(_builds(), "app.msi")
    return _build(output, ["wixl", "-a", "x86", "-o", output, MSI_SOURCE])


# ----- the prefix's files -----


def drive_c(prefix: harness.Prefix, windows_path: str) -> str:
    """The Unix path of a C:\\ path in the prefix."""
    drive, _, rest = windows_path.partition(":\\")
    if drive.upper() != "C":
        raise ValueError(f"not a path on drive C: {windows_path}")
    return os.path.join(prefix.path, "drive_c", *rest.split("\\"))


def put_file(prefix: harness.Prefix, source: str, windows_path: str) -> str:
    """Copies a file to a C:\\ path in the prefix, making its directories; returns the Unix path."""
    target = drive_c(prefix, windows_path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copy(source, target)
    return target


def read_lines(path: str) -> list[str]:
    """The lines of a UTF-8 log a helper wrote; none when it does not exist yet."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as log:
        return log.read().splitlines()


def drop_doubles(directories: list[str], names: list[str]) -> list[str]:
    """Copies the logging double under each name (a relative path) into each Unix directory,
    as a web page may drop files into a downloads folder. Returns the logs the copies would
    write: each logs beside itself, foo.exe to foo.log."""
    double = helper_exe("dropped_program")
    logs = []
    for directory in directories:
        for name in names:
            target = os.path.join(directory, *name.split("\\"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(double, target)
            logs.append(os.path.splitext(target)[0] + ".log")
    return logs


def doubles_that_ran(logs: list[str]) -> dict[str, list[str]]:
    """The command lines each double that ran was given."""
    return {log: read_lines(log) for log in logs if os.path.exists(log)}


def start_program(
    prefix: harness.Prefix, unix_path: str, *args: str, **env: str
) -> subprocess.Popen:
    """Starts a Windows program in the prefix with Wine; the caller owns the process."""
    return subprocess.Popen(
        [harness.WINE, unix_path, *args],
        env=prefix.env(**env),
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        cwd=prefix.workdir,
    )


def replace_taskkill(prefix: harness.Prefix) -> None:
    """Wine 8's taskkill rejects /T and so ends nothing: the system's is replaced with a double
    that logs its command line to TASKKILL_LOG and ends processes as taskkill would."""
    prefix.replace_file(TASKKILL, helper_exe("taskkill_double"))


def start_idle(prefix: harness.Prefix, windows_path: str) -> subprocess.Popen:
    """Copies the idle helper to a C:\\ path and starts it; returns once it runs. The caller
    owns the process (see end_process)."""
    path = put_file(prefix, helper_exe("idle_process"), windows_path)
    title = f"idle {os.path.basename(path)} {os.path.basename(prefix.workdir)}"
    process = start_program(prefix, path, title)
    harness.wait_until(lambda: harness.named_windows(title), START_SECONDS, f"{path} to run")
    return process


def end_process(process: subprocess.Popen) -> None:
    if process.poll() is None:
        process.kill()
    process.wait()


def last_command(prefix: harness.Prefix) -> tuple[str, str] | None:
    """The remembered command as (registry type, text); None when there is none."""
    code, out = prefix.run([harness.WINE, "reg", "query", regfile.STATE_KEY, "/v", LAST])
    if code != 0:
        return None
    for line in out.splitlines():
        name, _, rest = line.strip().partition(" ")
        kind, _, text = rest.strip().partition(" ")
        if name == LAST and kind.startswith("REG_"):
            return kind, text.strip()
    return None


def wait_uninstalled(prefix: harness.Prefix, key: str, installed: str) -> None:
    """Waits until an uninstaller has removed both its uninstall key and a path it installed;
    uninstallers remove them in either order."""
    harness.wait_until(
        lambda: not os.path.exists(installed) and prefix.reg_value(key, "DisplayName") is None,
        REMOVAL_SECONDS,
        f"{installed} and {key} to be removed",
    )


def install(prefix: harness.Prefix, *command: str, **env: str) -> None:
    code, _ = prefix.run([harness.WINE, *command], timeout=INSTALL_SECONDS, **env)
    if code != 0:
        raise harness.HarnessError(f"{' '.join(command)} exited with {code}")


# ----- the web browser -----


def logging_browser(prefix) -> tuple[regfile.Key, str]:
    """A browser for Wine that only logs the addresses it is given: the key that makes it the
    browser, and its log's path."""
    log = prefix.file("browser.txt")
    browser = prefix.file("browser.sh")
    with open(browser, "w", encoding="utf-8") as script:
        script.write(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{log}"\n')
    os.chmod(browser, 0o755)
    key = regfile.Key(r"HKEY_CURRENT_USER\Software\Wine\WineBrowser", {"Browsers": browser})
    return key, log


# ----- the menu -----


def menu_caption(name: str) -> str:
    """A program's or process's name as its item caption reaches Wine: "&" doubled."""
    return name.replace("&", "&&")


def keys_in_submenu(trace, top: int, submenu: str, name: str, enter: str = "Return") -> list[str]:
    """The keys that choose an item of an open submenu of the top menu, from its first item.

    Down skips separators, so an item's key position is its index among the non-separator
    captions."""
    children = trace.captions(trace.submenu_of(top, submenu))
    caption = menu_caption(name)
    if caption not in children:
        raise harness.HarnessError(f"no {caption!r} in {submenu!r}: {children}")
    return [*["Down"] * children.index(caption), enter]


class ActionCase(e2e_case.E2ECase):
    """A test that chooses items of the program's menu, possibly over several runs."""

    def bring_desktop_up(self) -> None:
        """Starts the cursor holder, as start() does, for a test that runs other windowed
        programs before the program: the holder's start is the one that copes with a desktop
        that fails to come up."""
        self.prefix.hold_cursor(e2e_case._options.cursor_holder, *e2e_case.POINT)

    def install_for_everyone(self) -> str:
        """Installs the built program with its setup's /S; returns the installed program: only
        such a copy, which users cannot change, starts the program's elevated steps."""
        build = os.path.dirname(e2e_case._options.exe)
        (setup,) = glob.glob(os.path.join(build, "TapwiseUninstaller-*-setup.exe"))
        install(self.prefix, setup, "/S", WINEDLLOVERRIDES="winemenubuilder.exe=d")
        return rf"C:\Program Files (x86)\Tapwise Uninstaller\{self.exe_name}"

    def start_again(self, exe: str | None = None) -> harness.App:
        """Starts the program (once more, or a copy of it) in a prefix whose cursor holder
        already runs, and keeps the desktop up and the pointer in place."""
        if self.app is None:
            self.addCleanup(self._keep_trace)
        self.app = self.prefix.launch(exe or e2e_case._options.exe)
        return self.app

    def choose(self, submenu: str, name: str, popup: int = 1, enter: str = "Return") -> float:
        """Waits for pop-up number `popup` (from 1), chooses the item `name` of `submenu` with
        the keyboard (`enter` is the key that chooses, "shift+Return" for one with Shift held)
        and returns when that was."""
        window = self.app.wait_menu()
        trace = self.app.wait_popup(popup)
        top = trace.popups[popup - 1].menu
        top_captions = trace.captions(top)
        if submenu not in top_captions or trace.submenu_of(top, submenu) is None:
            raise harness.HarnessError(f"no submenu {submenu!r} in the menu: {top_captions}")
        harness.send_keys(window, *e2e_case.keys_to_open(top_captions, submenu))
        trace = self.app.wait_submenu_filled(trace.submenu_of(top, submenu))
        harness.send_keys(window, *keys_in_submenu(trace, top, submenu, name, enter))
        return time.monotonic()

    def assert_last(self, command: str) -> None:
        """The program remembered exactly this command, as plain text."""
        self.assertEqual(last_command(self.prefix), ("REG_SZ", command))

    def assert_last_consumed(self) -> None:
        self.assertIsNone(last_command(self.prefix), "the remembered command is deleted")

    def answer_prompt_no(self, name: str) -> None:
        """On a start after an uninstall that left the program listed: the still-present prompt
        names it and comes before the menu; "No" lets the menu come."""
        box = self.app.wait_message_box(e2e_case.CAPTION)
        trace = self.app.trace()
        self.assertEqual(trace.message_boxes, [STILL_PRESENT.format(name=name)])
        self.assertEqual(trace.popups, [], "the prompt comes before the menu")
        harness.send_keys(box, "n")
        harness.wait_until(
            lambda: box not in harness.visible_windows(name=e2e_case.CAPTION),
            timeout=5,
            what="the prompt to close",
        )

    def assert_no_prompt_then_exit(self) -> None:
        """On a start after an uninstall: the menu comes directly, and "Exit" ends it."""
        menu = self.app.wait_menu()
        self.assertEqual(self.app.trace().message_boxes, [], "no prompt before the menu")
        self.assert_ends_at_once(self.choose_exit(menu))
