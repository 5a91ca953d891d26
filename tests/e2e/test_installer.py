"""The program's own installer, as a user gets it: installed silently, per machine or per user,
it puts the program, a Start-menu shortcut with its hotkey and an uninstall entry in place; the
installed program lists itself as the newest program, and choosing itself runs its own
uninstaller, which takes everything away again, the program that started it included.

Where it goes: /D= when given, else the folder of the install already there in the same mode,
else the mode's default; per machine only under Program Files. It touches only what it made
there: a folder shared with others' files keeps them, whatever their names. Nothing in HKCU, which
any program of the user may write, steers it: /S installs for everyone, and an install for
everyone goes beside one just for the user, each removed by its own uninstaller alone."""

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
NEXT_VERSION = "2.0"  # an upgrade: the same script and program, another version
PRODUCT = "Tapwise Uninstaller"
ENTRY_NAME = f"{PRODUCT} {VERSION}"
PROGRAM = "TapwiseUninstaller.exe"
CONSOLE_PROGRAM = "TapwiseUninstaller.com"
UNINSTALLER = f"Uninstall {PRODUCT}.exe"
EARLIER_UNINSTALLER = "uninstall.exe"  # the name earlier releases used, as other programs do
SETUP_SCRIPT = os.path.join(
    os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "installer", "setup.nsi"
)
REFUSED = 2  # a silent install's exit code for a folder that its mode may not use
SETUP_CAPTION = f"{PRODUCT} {VERSION} Setup"  # its message boxes'; its pages add a blank
SHORTCUT = rf"Microsoft\Windows\Start Menu\Programs\{PRODUCT}.lnk"
# The uninstaller's confirmation page; its page caption is a blank.
CONFIRMATION = f"{PRODUCT} {VERSION} Uninstall "
PROFILE = "~"  # begins a folder inside the user's own profile, where Wine puts it
VICTIM = r"C:\victim"  # another program's folder, which an entry in HKCU names
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


def setup_of(version: str) -> str:
    """The installer of a version: the built one, or one made from the same script and program."""
    if version == VERSION:
        return built("setup.exe")
    exe = e2e_case._options.exe
    console = os.path.join(os.path.dirname(exe), CONSOLE_PROGRAM)
    defines = ["-WX", f"-DVERSION={version}", f"-DEXE={exe}", f"-DCONSOLE_EXE={console}"]
    return actions.makensis(SETUP_SCRIPT, f"setup-{version}.exe", *defines)


def folder_switch(folder: str) -> list[str]:
    """/D=folder as NSIS takes it: last, and unquoted even with blanks. Wine quotes an argument
    that holds a blank, so the folder goes in pieces that Wine joins with blanks."""
    return f"/D={folder}".split(" ")


def today() -> str:
    return time.strftime("%Y%m%d")


@dataclasses.dataclass
class Mode:
    name: str
    switches: list[str]
    entry_root: str  # as `wine reg` names it
    seed_root: str  # the same, as a .reg file names it for the 64-bit regedit
    switch_in_entry: str
    shortcut_glob: str  # C:\ paths, as globs
    install_dir_pattern: str
    views_share_the_key: bool  # HKCU's uninstall key is one key in both registry views
    # Two folders other than the default that the mode may use, and install into again: per user
    # with administrator rights, as under Wine, only folders in the user's profile.
    custom_folders: tuple[str, str]
    shared_folder: str  # one that may already hold others' files


PER_MACHINE = Mode(
    "per machine",
    ["/S"],  # silent takes the per-machine default
    actions.HKLM_UNINSTALL,
    regfile.UNINSTALL_32,
    "/AllUsers",
    rf"C:\ProgramData\{SHORTCUT}",
    rf"C:\Program Files (x86)\{PRODUCT}",
    False,
    (r"C:\Program Files (x86)\Custom\Tapwise", r"C:\Program Files\Other\Tapwise"),
    r"C:\Program Files (x86)\Shared Tools",
)
PER_USER = Mode(
    "per user",
    ["/S", "/CurrentUser"],
    actions.HKCU_UNINSTALL,
    regfile.UNINSTALL_USER,
    "/CurrentUser",
    rf"C:\users\*\AppData\Roaming\{SHORTCUT}",
    rf"C:\users\*\AppData\Local\Programs\{PRODUCT}",
    True,
    (rf"{PROFILE}\Custom\Tapwise", rf"{PROFILE}\Tools\Tapwise"),
    rf"{PROFILE}\Shared",
)
MODES = (PER_MACHINE, PER_USER)


def windows_glob(prefix: harness.Prefix, pattern: str) -> list[str]:
    return glob.glob(actions.drive_c(prefix, pattern))


def in_profile(prefix: harness.Prefix, folder: str) -> str:
    """The folder with PROFILE at its start replaced by the user's profile in the prefix."""
    if not folder.startswith(PROFILE):
        return folder
    [profile] = [
        user for user in os.listdir(actions.drive_c(prefix, r"C:\users")) if user != "Public"
    ]
    return rf"C:\users\{profile}{folder[len(PROFILE):]}"


class InstallerTest(actions.ActionCase):
    def install(
        self,
        mode: Mode,
        switches: list[str] | None = None,
        into: str | None = None,
        version: str = VERSION,
        others: tuple[str, ...] = (),
        alone: bool = True,
    ) -> dict[str, tuple[str, str]]:
        """Installs silently, with the mode's switches unless others are given; returns the
        uninstall entry, checked against the files. `into` is the folder expected when it is
        not the mode's default, `others` name the files of others that it holds, and `alone`
        says that the other mode has no entry."""
        before = today()
        switches = mode.switches if switches is None else switches
        actions.install(self.prefix, setup_of(version), *switches, **NO_MENU_ENTRIES)
        return self.assert_installed(mode, before, into, version, others, alone)

    def assert_installed(
        self,
        mode: Mode,
        day: str,
        into: str | None = None,
        version: str = VERSION,
        others: tuple[str, ...] = (),
        alone: bool = True,
    ) -> dict[str, tuple[str, str]]:
        """Checks an install of the mode, made on `day` or today, as install() describes it;
        returns its uninstall entry."""
        key = rf"{mode.entry_root}\{PRODUCT}"
        entry = self.prefix.reg_values(key)
        self.assertIsNotNone(entry, f"no uninstall entry {key}")
        install_dir = entry["InstallLocation"][1]
        self.assertTrue(
            fnmatch.fnmatchcase(install_dir, into or mode.install_dir_pattern), install_dir
        )
        unix_dir = actions.drive_c(self.prefix, install_dir)
        self.assertEqual(sorted(os.listdir(unix_dir)), sorted([PROGRAM, CONSOLE_PROGRAM, UNINSTALLER, *others]))
        self.assert_is_the_build(os.path.join(unix_dir, PROGRAM))

        size = sum(os.path.getsize(os.path.join(unix_dir, f)) for f in (PROGRAM, UNINSTALLER))
        program = rf"{install_dir}\{PROGRAM}"
        uninstaller = rf"{install_dir}\{UNINSTALLER}"
        expected = {
            "DisplayName": ("REG_SZ", f"{PRODUCT} {version}"),
            "DisplayVersion": ("REG_SZ", version),
            "Publisher": ("REG_SZ", "Quillon Software"),
            "DisplayIcon": ("REG_SZ", f"{program},0"),
            "UninstallString": ("REG_SZ", rf'"{uninstaller}" {mode.switch_in_entry}'),
            "QuietUninstallString": ("REG_SZ", rf'"{uninstaller}" {mode.switch_in_entry} /S'),
            "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"),
        }
        self.assertEqual({name: entry.get(name) for name in expected}, expected)
        self.assertIn(entry["InstallDate"], {("REG_SZ", day), ("REG_SZ", today())})
        kind, estimated = entry["EstimatedSize"]
        self.assertEqual(kind, "REG_DWORD")
        self.assertLessEqual(abs(int(estimated, 16) - size // 1024), 1, "EstimatedSize in KB")
        if not mode.views_share_the_key:
            self.assertIsNone(self.prefix.reg_values(key, view64=True), "not in the 64-bit view")
        for other in MODES:
            if alone and other is not mode:
                other_key = rf"{other.entry_root}\{PRODUCT}"
                self.assertIsNone(self.prefix.reg_values(other_key), f"not in {other.name}")

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
        trace = self.open_submenus(self.app.wait_menu())
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

    def uninstall_quietly(
        self, mode: Mode, entry: dict[str, tuple[str, str]], switches: list[str] | None = None
    ) -> None:
        """Runs the entry's QuietUninstallString, or its uninstaller with other switches, and
        waits until the entry is gone: the uninstaller hands over to a copy of itself and
        returns before its work is done, and removes the entry last."""
        uninstaller, _, own = entry["QuietUninstallString"][1][1:].partition('" ')
        switches = own.split() if switches is None else switches
        command = [harness.WINE, actions.drive_c(self.prefix, uninstaller), *switches]
        code, _ = self.prefix.run(command)
        self.assertEqual(code, 0)
        key = rf"{mode.entry_root}\{PRODUCT}"
        harness.wait_until(
            lambda: self.prefix.reg_values(key) is None, actions.REMOVAL_SECONDS, f"{key} to go"
        )

    def put_others(self, folder: str) -> dict[str, bytes]:
        """Files of another program and of the user in a folder; returns their contents."""
        others = {
            EARLIER_UNINSTALLER: b"MZ another program's uninstaller",
            "notes.txt": b"the user's own notes",
        }
        for name, content in others.items():
            path = actions.drive_c(self.prefix, rf"{folder}\{name}")
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as file:
                file.write(content)
        return others

    def assert_kept(self, folder: str, others: dict[str, bytes]) -> None:
        for name, content in others.items():
            with open(actions.drive_c(self.prefix, rf"{folder}\{name}"), "rb") as file:
                self.assertEqual(file.read(), content, f"{name} is as it was")

    def shared_folder(self, mode: Mode) -> None:
        folder = in_profile(self.prefix, mode.shared_folder)
        others = self.put_others(folder)
        into_shared = [*mode.switches, *folder_switch(folder)]
        self.install(mode, into_shared, into=folder, others=tuple(others))
        self.assert_kept(folder, others)
        # A reinstall finds an uninstall.exe that the entry does not name: not its to remove.
        entry = self.install(mode, into=folder, others=tuple(others))
        self.assert_kept(folder, others)
        self.uninstall_quietly(mode, entry)
        unix_dir = actions.drive_c(self.prefix, folder)
        self.assertEqual(sorted(os.listdir(unix_dir)), sorted(others), "the folder stays")
        self.assert_kept(folder, others)
        self.assertEqual(windows_glob(self.prefix, mode.shortcut_glob), [], "the shortcut goes")

    def test_per_machine_shared_folder_keeps_the_files_of_others(self):
        self.shared_folder(PER_MACHINE)

    def test_per_user_shared_folder_keeps_the_files_of_others(self):
        self.shared_folder(PER_USER)

    def chosen_folder_kept(self, mode: Mode) -> None:
        """/D= is where it goes; a reinstall in the same mode without it goes there again, not
        to the default; /D= beats the folder of the install already there; the uninstaller
        cleans the folder it is in."""
        first, second = (in_profile(self.prefix, folder) for folder in mode.custom_folders)
        self.install(mode, [*mode.switches, *folder_switch(first)], into=first)
        self.install(mode, into=first)
        self.assertEqual(windows_glob(self.prefix, mode.install_dir_pattern), [], "no default")
        entry = self.install(mode, [*mode.switches, *folder_switch(second)], into=second)
        self.uninstall_quietly(mode, entry)
        self.assertFalse(os.path.exists(actions.drive_c(self.prefix, second)), "its folder goes")

    def test_per_machine_folder_given_and_kept_on_reinstall(self):
        self.chosen_folder_kept(PER_MACHINE)

    def test_per_user_folder_given_and_kept_on_reinstall(self):
        self.chosen_folder_kept(PER_USER)

    def test_per_machine_outside_program_files_is_refused(self):
        folders = [
            r"C:\Tools\Tapwise",
            r"C:\Program Files (x86)\..\Tools\Tapwise",  # resolved before it is judged
            r"C:\Program Files (x86)",  # Program Files itself, not a folder under it
            r"C:\Program Files (x86) Tools\Tapwise",  # a name that merely begins the same
        ]
        for folder in folders:
            with self.subTest(folder=folder):
                command = [harness.WINE, setup_of(VERSION), "/S", "/AllUsers"]
                command += folder_switch(folder)
                code, _ = self.prefix.run(command, timeout=actions.INSTALL_SECONDS)
                self.assertEqual(code, REFUSED)
                key = rf"{PER_MACHINE.entry_root}\{PRODUCT}"
                self.assertIsNone(self.prefix.reg_values(key), "no entry")
                self.assertEqual(windows_glob(self.prefix, rf"{folder}\*.exe"), [], "no files")
                self.assertEqual(windows_glob(self.prefix, PER_MACHINE.shortcut_glob), [])

    def test_folder_page_says_why_a_per_machine_folder_is_refused(self):
        self.bring_desktop_up()
        folder = r"C:\Tools\Tapwise"
        args = ("/AllUsers", *folder_switch(folder))
        setup = self.prefix.launch(
            setup_of(VERSION), channels="trace+msgbox", args=args, **NO_MENU_ENTRIES
        )
        pages = setup.wait_message_box(f"{SETUP_CAPTION} ")
        harness.send_keys(pages, "Return")  # the mode page: for everyone, as asked
        harness.send_keys(pages, "Return")  # the folder page, with the folder given
        box = setup.wait_message_box(SETUP_CAPTION)
        [text] = setup.trace().message_boxes
        self.assertTrue(text.startswith("Installed for everyone using this computer"), text)
        self.assertIn(r"C:\Program Files (x86)", text)
        self.assertIn(rf"not into {folder}", text)
        harness.send_keys(box, "Return")
        harness.send_keys(setup.wait_message_box(f"{SETUP_CAPTION} "), "Escape")
        setup.wait_exit(actions.EXIT_SECONDS)
        self.assertFalse(os.path.exists(actions.drive_c(self.prefix, folder)), "nothing made")

    def test_upgrade_in_place_from_an_uninstaller_named_as_before(self):
        # A newer version, silent with no mode given, over an earlier release, whose uninstaller
        # had the name that others use and that its entry names: the same entry, folder and
        # mode, the new version's files, and nothing of the old one's left.
        older = self.install(PER_MACHINE)
        folder = older["InstallLocation"][1]
        unix_dir = actions.drive_c(self.prefix, folder)
        with open(os.path.join(unix_dir, PROGRAM), "ab") as program:
            program.write(b"an older build")  # Windows ignores what follows the image
        os.rename(
            os.path.join(unix_dir, UNINSTALLER), os.path.join(unix_dir, EARLIER_UNINSTALLER)
        )
        command = rf'"{folder}\{EARLIER_UNINSTALLER}" {PER_MACHINE.switch_in_entry}'
        values = {"UninstallString": command, "QuietUninstallString": f"{command} /S"}
        self.seed([regfile.program(PER_MACHINE.seed_root, PRODUCT, **values)])

        entry = self.install(PER_MACHINE, ["/S"], into=folder, version=NEXT_VERSION)
        self.uninstall_quietly(PER_MACHINE, entry)
        self.assertFalse(os.path.exists(unix_dir), "the upgraded install goes whole")

    def test_a_planted_per_user_entry_steers_no_install(self):
        # Any program the user runs may write HKCU: an entry there that names another program's
        # folder, and its uninstall.exe as an earlier release's uninstaller, with no entry in
        # HKLM. Setup runs with administrator rights, as it does under Wine.
        others = self.put_others(VICTIM)
        command = rf'"{VICTIM}\{EARLIER_UNINSTALLER}" {PER_USER.switch_in_entry}'
        values = {"UninstallString": command, "InstallLocation": VICTIM}
        self.seed([regfile.program(PER_USER.seed_root, PRODUCT, **values)])
        planted_key = rf"{PER_USER.entry_root}\{PRODUCT}"
        planted = self.prefix.reg_values(planted_key)

        # /S installs for everyone, under Program Files, and leaves HKCU's entry as it is.
        self.install(PER_MACHINE, alone=False)
        self.assertEqual(self.prefix.reg_values(planted_key), planted, "HKCU's entry untouched")
        self.assert_kept(VICTIM, others)
        # Just for the user, but elevated: the default folder, not one outside the profile.
        self.install(PER_USER, alone=False)
        self.assert_kept(VICTIM, others)
        unix_victim = actions.drive_c(self.prefix, VICTIM)
        self.assertEqual(sorted(os.listdir(unix_victim)), sorted(others), "nothing added")

    def test_a_per_machine_folder_outside_program_files_is_not_reused(self):
        # An entry in HKLM that names a folder the mode may not use, with its uninstall.exe:
        # the install goes to the default folder, and the other folder keeps its files.
        others = self.put_others(VICTIM)
        command = rf'"{VICTIM}\{EARLIER_UNINSTALLER}" {PER_MACHINE.switch_in_entry}'
        values = {"UninstallString": command, "InstallLocation": VICTIM}
        self.seed([regfile.program(PER_MACHINE.seed_root, PRODUCT, **values)])
        self.install(PER_MACHINE)
        self.assert_kept(VICTIM, others)
        unix_victim = actions.drive_c(self.prefix, VICTIM)
        self.assertEqual(sorted(os.listdir(unix_victim)), sorted(others), "nothing added")

    def remove_beside(
        self, mode: Mode, entry: dict[str, tuple[str, str]], switches: list[str] | None = None
    ) -> None:
        """Uninstalls the mode's install, as uninstall_quietly does, and waits until its folder
        and shortcut are gone too."""
        self.uninstall_quietly(mode, entry, switches)
        folder = actions.drive_c(self.prefix, entry["InstallLocation"][1])
        shortcut = mode.shortcut_glob
        harness.wait_until(
            lambda: not os.path.exists(folder) and not windows_glob(self.prefix, shortcut),
            actions.REMOVAL_SECONDS,
            f"the {mode.name} install's folder and shortcut to go",
        )

    def test_for_everyone_beside_an_install_just_for_the_user(self):
        # Both stand side by side, and each uninstaller removes its own install alone, whichever
        # goes first; the one just for the user even when started by hand, without its switch.
        day = today()
        user = self.install(PER_USER)
        machine = self.install(PER_MACHINE, alone=False)
        self.assertEqual(self.assert_installed(PER_USER, day, alone=False), user, "left alone")

        self.remove_beside(PER_USER, user, ["/S"])
        self.assertEqual(self.assert_installed(PER_MACHINE, day), machine, "kept whole")

        user = self.install(PER_USER, alone=False)
        self.remove_beside(PER_MACHINE, machine)
        self.assertEqual(self.assert_installed(PER_USER, day), user, "kept whole")
        self.uninstall_quietly(PER_USER, user)
        self.assert_all_gone(PER_USER, user)


class PortableTest(unittest.TestCase):
    def test_the_zip_holds_the_program_alone(self):
        with zipfile.ZipFile(built("portable.zip")) as portable:
            self.assertEqual(portable.namelist(), [PROGRAM, CONSOLE_PROGRAM])
            with open(e2e_case._options.exe, "rb") as program:
                self.assertEqual(portable.read(PROGRAM), program.read())


if __name__ == "__main__":
    e2e_case.main()
