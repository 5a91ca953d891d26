"""The program's own installer, as a user gets it: installed silently, per machine or per user,
it puts the program, a Start-menu shortcut with its hotkey and an uninstall entry in place; the
installed program lists itself as the newest program, and choosing itself runs its own
uninstaller, which takes everything away again, the program that started it included."""

from __future__ import annotations

import dataclasses
import fnmatch
import glob
import os
import struct
import time
import unittest
import zipfile

import actions
import e2e_case
import harness
import regfile

VERSION = "1.9"
PRODUCT = "Tapwise Uninstaller"
ENTRY_NAME = f"{PRODUCT} {VERSION}"
PROGRAM = "TapwiseUninstaller.exe"
UNINSTALLER = "uninstall.exe"
SHORTCUT = rf"Microsoft\Windows\Start Menu\Programs\{PRODUCT}.lnk"
# The uninstaller's confirmation page; its page caption is a blank.
CONFIRMATION = f"{PRODUCT} {VERSION} Uninstall "
NO_MENU_ENTRIES = {"WINEDLLOVERRIDES": "winemenubuilder.exe=d"}  # keep the host's menus clean

PROGRAM_IN_USE_SECONDS = 1.5  # the uninstaller is done with everything else by then

LNK_HEADER_SIZE = 0x4C
LNK_HOTKEY_OFFSET = 0x40
CTRL_ALT_U = 0x0655  # HOTKEYF_CONTROL | HOTKEYF_ALT in the high byte, "U" in the low one


def built(suffix: str) -> str:
    """An artefact that the build makes beside the program."""
    name = f"TapwiseUninstaller-{VERSION}-{suffix}"
    path = os.path.join(os.path.dirname(e2e_case._options.exe), name)
    if not os.path.isfile(path):
        raise harness.HarnessError(f"{path} is not built")
    return path


def today() -> str:
    return time.strftime("%Y%m%d")


@dataclasses.dataclass
class Mode:
    name: str
    switches: list[str]
    entry_root: str  # as `wine reg` names it
    switch_in_entry: str
    shortcut_glob: str  # C:\ paths, as globs
    install_dir_pattern: str
    views_share_the_key: bool  # HKCU's uninstall key is one key in both registry views


PER_MACHINE = Mode(
    "per machine",
    ["/S"],  # silent takes the per-machine default
    actions.HKLM_UNINSTALL,
    "/AllUsers",
    rf"C:\ProgramData\{SHORTCUT}",
    rf"C:\Program Files (x86)\{PRODUCT}",
    False,
)
PER_USER = Mode(
    "per user",
    ["/S", "/CurrentUser"],
    actions.HKCU_UNINSTALL,
    "/CurrentUser",
    rf"C:\users\*\AppData\Roaming\{SHORTCUT}",
    rf"C:\users\*\AppData\Local\Programs\{PRODUCT}",
    True,
)


def windows_glob(prefix: harness.Prefix, pattern: str) -> list[str]:
    return glob.glob(actions.drive_c(prefix, pattern))


class InstallerTest(actions.ActionCase):
    def install(self, mode: Mode) -> dict[str, tuple[str, str]]:
        """Installs silently; returns the uninstall entry, checked against the files."""
        before = today()
        actions.install(self.prefix, built("setup.exe"), *mode.switches, **NO_MENU_ENTRIES)
        key = rf"{mode.entry_root}\{PRODUCT}"
        entry = self.prefix.reg_values(key)
        self.assertIsNotNone(entry, f"no uninstall entry {key}")
        install_dir = entry["InstallLocation"][1]
        self.assertTrue(fnmatch.fnmatchcase(install_dir, mode.install_dir_pattern), install_dir)
        unix_dir = actions.drive_c(self.prefix, install_dir)
        self.assertEqual(sorted(os.listdir(unix_dir)), sorted([PROGRAM, UNINSTALLER]))
        self.assert_is_the_build(os.path.join(unix_dir, PROGRAM))

        size = sum(os.path.getsize(os.path.join(unix_dir, f)) for f in os.listdir(unix_dir))
        program = rf"{install_dir}\{PROGRAM}"
        uninstaller = rf"{install_dir}\{UNINSTALLER}"
        expected = {
            "DisplayName": ("REG_SZ", ENTRY_NAME),
            "DisplayVersion": ("REG_SZ", VERSION),
            "Publisher": ("REG_SZ", "Quillon Software"),
            "DisplayIcon": ("REG_SZ", f"{program},0"),
            "UninstallString": ("REG_SZ", rf'"{uninstaller}" {mode.switch_in_entry}'),
            "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"),
        }
        self.assertEqual({name: entry.get(name) for name in expected}, expected)
        self.assertIn(entry["InstallDate"], {("REG_SZ", before), ("REG_SZ", today())})
        kind, estimated = entry["EstimatedSize"]
        self.assertEqual(kind, "REG_DWORD")
        self.assertLessEqual(abs(int(estimated, 16) - size // 1024), 1, "EstimatedSize in KB")
        if not mode.views_share_the_key:
            self.assertIsNone(self.prefix.reg_values(key, view64=True), "not in the 64-bit view")

        self.assert_shortcut(mode, program)
        return entry

    def assert_is_the_build(self, installed: str) -> None:
        with open(installed, "rb") as copy, open(e2e_case._options.exe, "rb") as program:
            self.assertTrue(copy.read() == program.read(), f"{installed} is not the program built")

    def assert_shortcut(self, mode: Mode, program: str) -> None:
        links = windows_glob(self.prefix, mode.shortcut_glob)
        self.assertEqual(len(links), 1, f"one shortcut {mode.shortcut_glob}")
        with open(links[0], "rb") as link:
            data = link.read()
        (header_size,) = struct.unpack_from("<I", data, 0)
        self.assertEqual(header_size, LNK_HEADER_SIZE, "a shell link")
        (hotkey,) = struct.unpack_from("<H", data, LNK_HOTKEY_OFFSET)
        self.assertEqual(hotkey, CTRL_ALT_U, f"the hotkey is Ctrl+Alt+U, not {hotkey:#06x}")
        self.assertIn(program.encode("ascii"), data, "the shortcut starts the installed program")

    def assert_all_gone(self, mode: Mode, entry: dict[str, tuple[str, str]]) -> None:
        install_dir = actions.drive_c(self.prefix, entry["InstallLocation"][1])
        key = rf"{mode.entry_root}\{PRODUCT}"

        def gone() -> bool:
            return (
                not os.path.exists(install_dir)
                and not windows_glob(self.prefix, mode.shortcut_glob)
                and self.prefix.reg_values(key) is None
            )

        harness.wait_until(gone, actions.REMOVAL_SECONDS, "the files, shortcut and entry to go")
        self.assertIsNone(
            self.prefix.reg_values(regfile.STATE_KEY), "what the program remembered goes too"
        )

    def start_installed(self, entry: dict[str, tuple[str, str]]) -> str:
        """Starts the installed program; returns its Unix path."""
        program = actions.drive_c(self.prefix, rf"{entry['InstallLocation'][1]}\{PROGRAM}")
        self.bring_desktop_up()
        self.start_again(program)
        return program

    def round_trip(self, mode: Mode) -> None:
        entry = self.install(mode)
        self.start_installed(entry)
        trace = self.app.wait_popup()
        top = trace.popups[0].menu
        listed = trace.captions(trace.submenu_of(top, "All Programs"))
        self.assertEqual(listed.count(ENTRY_NAME), 1, f"listed once: {listed}")
        recent = trace.captions(trace.submenu_of(top, "Recent Programs"))
        self.assertEqual(recent[:1], [ENTRY_NAME], "installed today, it is the newest")

        self.assert_ends_at_once(self.choose("Recent Programs", ENTRY_NAME))
        self.assert_last(entry["UninstallString"][1])
        harness.send_keys(self.app.wait_message_box(CONFIRMATION), "Return")
        self.assert_all_gone(mode, entry)

    def test_per_machine_by_default_removed_from_its_own_menu(self):
        self.round_trip(PER_MACHINE)

    def test_per_user_removed_from_its_own_menu(self):
        self.round_trip(PER_USER)

    def test_uninstaller_waits_for_the_running_program_to_end(self):
        entry = self.install(PER_MACHINE)
        program = self.start_installed(entry)
        menu = self.app.wait_menu()
        uninstaller = os.path.join(os.path.dirname(program), UNINSTALLER)
        # It hands over to a copy of itself in the temporary folder and returns.
        code, _ = self.prefix.run([harness.WINE, uninstaller, PER_MACHINE.switch_in_entry, "/S"])
        self.assertEqual(code, 0)
        time.sleep(PROGRAM_IN_USE_SECONDS)
        self.assertTrue(os.path.exists(program), "a running program's file cannot go yet")
        self.assert_ends_at_once(self.choose_exit(menu))
        self.assert_all_gone(PER_MACHINE, entry)

    def test_installing_again_waits_for_the_running_program_to_end(self):
        entry = self.install(PER_MACHINE)
        program = actions.drive_c(self.prefix, rf"{entry['InstallLocation'][1]}\{PROGRAM}")
        with open(program, "ab") as older:
            older.write(b"an older build")  # still runs: Windows ignores what follows the image
        self.start_installed(entry)
        menu = self.app.wait_menu()
        setup = actions.start_program(self.prefix, built("setup.exe"), "/S", **NO_MENU_ENTRIES)
        self.addCleanup(setup.wait, actions.INSTALL_SECONDS)
        time.sleep(PROGRAM_IN_USE_SECONDS)
        self.assertIsNone(setup.poll(), "the installer waits for the program to end")
        self.assert_ends_at_once(self.choose_exit(menu))
        self.assertEqual(setup.wait(actions.INSTALL_SECONDS), 0)
        self.assert_is_the_build(program)


class PortableTest(unittest.TestCase):
    def test_the_zip_holds_the_program_alone(self):
        with zipfile.ZipFile(built("portable.zip")) as portable:
            self.assertEqual(portable.namelist(), [PROGRAM])
            with open(e2e_case._options.exe, "rb") as program:
                self.assertEqual(portable.read(PROGRAM), program.read())


if __name__ == "__main__":
    e2e_case.main()
