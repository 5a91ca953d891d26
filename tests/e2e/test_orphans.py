"""Entries whose uninstaller is gone, or whose product Windows Installer does not know: the box
offers to take them off the list. "No" changes
nothing; a copy folder that cannot be written deletes nothing; "Yes" removes each entry, per
user and per machine in both views, the latter through the program's own elevated step from its
install for everyone, and leaves a .reg copy that regedit imports back exactly: the user's in
the user's folder, the machine's in ProgramData. All in one prefix, each entry chosen in turn."""

from __future__ import annotations

import glob
import os
import time

import actions
import e2e_case
import harness
from regfile import UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER, Dword, ExpandSz, Key, Raw, program
from regfile import utf16

_UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
BOX_SECONDS = 20  # from "Yes" to the box that tells the outcome; the elevated step runs between

USER_NAME = "Orphan User"
M64_NAME = "Orphan Sixty-Four"
M32_NAME = "\u0421\u0438\u0440\u043e\u0442\u0430"  # "Сирота"
M32_KEY = "\u0421\u0438\u0440\u043e\u0442\u0430 32"

# (display name, key path for `reg`, view): each entry as `reg export` reaches it.
USER_ENTRY = (USER_NAME, rf"HKEY_CURRENT_USER\{_UNINSTALL}\OrphanUser", "64")
M64_ENTRY = (M64_NAME, rf"HKEY_LOCAL_MACHINE\{_UNINSTALL}\Orphan64", "64")
M32_ENTRY = (M32_NAME, rf"HKEY_LOCAL_MACHINE\{_UNINSTALL}\{M32_KEY}", "32")
# A product code that no package in the prefix has: msiexec would only fail.
MSI_NAME = "Orphan Msi"
MSI_CODE = "{0D1CE0DE-0000-4000-8000-00000000C0DE}"
MSI_ENTRY = (MSI_NAME, rf"HKEY_LOCAL_MACHINE\{_UNINSTALL}\{MSI_CODE}", "32")

KEYS = [
    # Between them, every well-formed type: SZ, EXPAND_SZ, MULTI_SZ, BINARY, DWORD, QWORD.
    program(UNINSTALL_USER, "OrphanUser", DisplayName=USER_NAME,
            UninstallString=r'"C:\Gone\user\uninst.exe" /S',
            InstallLocation=ExpandSz(r"%LOCALAPPDATA%\Gone"),
            Lines=Raw(7, utf16("one\0two\0\0")), Blob=b"\x00\x01\xfe\xff",
            EstimatedSize=Dword(1234), Stamp=Raw(0xB, bytes(range(1, 9))),
            # Text without its end: regedit gives it back with one, so the question names it.
            Odd=Raw(1, b"a\x00b")),
    program(UNINSTALL_64, "Orphan64", DisplayName=M64_NAME,
            UninstallString=r"C:\Gone\64\uninst.exe", VersionMajor=Dword(2)),
    Key(rf"{UNINSTALL_64}\Orphan64\Details", {"Note": "kept in a subkey", "Count": Dword(3)}),
    # The same key name in the other view: never touched by the removal above.
    program(UNINSTALL_32, "Orphan64", DisplayName="Orphan Twin",
            UninstallString=r"C:\Gone\twin\uninst.exe"),
    program(UNINSTALL_32, M32_KEY, DisplayName=M32_NAME,
            UninstallString=r"C:\Gone\32\uninst.exe", Publisher="\u0418\u0437\u0434\u0430\u0442\u0435\u043b\u044c"),
    program(UNINSTALL_32, MSI_CODE, DisplayName=MSI_NAME,
            UninstallString=ExpandSz(f"MsiExec.exe /X{MSI_CODE}"), WindowsInstaller=Dword(1)),
]


# Entries that hold a registry link to a key outside them, and one on a share that does not answer.
LINKED_USER = ("Linked User", rf"HKEY_CURRENT_USER\{_UNINSTALL}\LinkedUser", "64")
LINKED_MACHINE = ("Linked Machine", rf"HKEY_LOCAL_MACHINE\{_UNINSTALL}\LinkedMachine", "64")
TARGETS = {"HKCU": r"HKEY_CURRENT_USER\Software\Target", "HKLM": r"HKEY_LOCAL_MACHINE\Software\Target"}
SHARE_NAME = "On A Share"
LINKED_KEYS = [
    program(UNINSTALL_USER, "LinkedUser", DisplayName=LINKED_USER[0],
            UninstallString=r"C:\Gone\lu\uninst.exe"),
    program(UNINSTALL_64, "LinkedMachine", DisplayName=LINKED_MACHINE[0],
            UninstallString=r"C:\Gone\lm\uninst.exe"),
    Key(rf"{UNINSTALL_64}\LinkedMachine\Sub", {"Note": "a subkey"}),
    Key(TARGETS["HKCU"], {"Kept": "yes"}),
    Key(TARGETS["HKLM"], {"Kept": "yes"}),
    program(UNINSTALL_USER, "OnShare", DisplayName=SHARE_NAME,
            UninstallString=r"\\nohost\share\uninst.exe"),
]
# (root, the link, where it leads), both under the root
LINKS = [
    ("HKCU", rf"{_UNINSTALL}\LinkedUser\Link", r"Software\Target"),
    ("HKLM", rf"{_UNINSTALL}\LinkedMachine\Sub\Link", r"Software\Target"),
]


def without(export: str | None, value: str | None) -> str | None:
    """A `reg export` without the lines of the value, when one is named."""
    if export is None or value is None:
        return export
    return "\n".join(line for line in export.splitlines() if not line.startswith(f"{value}="))


class OrphanTest(actions.ActionCase):
    def export(self, key: str, view: str) -> str | None:
        """`reg export` of the key in a view, as text; None when the key is not there."""
        path = self.prefix.file(f"export-{time.monotonic_ns()}.reg")
        code, _ = self.prefix.run(
            [harness.WINE, "reg", "export", key, harness.windows_path(path), "/y", f"/reg:{view}"]
        )
        if code != 0 or not os.path.exists(path):
            return None
        with open(path, encoding="utf-16") as stream:
            text = stream.read()
        os.unlink(path)
        return text

    def exists(self, key: str, view: str) -> bool:
        code, _ = self.prefix.run([harness.WINE, "reg", "query", key, f"/reg:{view}"])
        return code == 0

    def machine_copies_folder(self) -> str:
        return actions.drive_c(
            self.prefix, r"C:\ProgramData\Quillon\Tapwise Uninstaller\Removed entries"
        )

    def copies_folder(self) -> str:
        """The Unix path of %LOCALAPPDATA%\\Quillon\\Tapwise Uninstaller\\Removed entries."""
        users = [
            path
            for path in glob.glob(os.path.join(self.prefix.path, "drive_c", "users", "*"))
            if os.path.basename(path) != "Public"
        ]
        self.assertEqual(len(users), 1, users)
        return os.path.join(
            users[0], "AppData", "Local", "Quillon", "Tapwise Uninstaller", "Removed entries"
        )

    def copies(self) -> list[str]:
        folders = (self.copies_folder(), self.machine_copies_folder())
        return sorted(path for folder in folders for path in glob.glob(os.path.join(folder, "*.reg")))

    def choose_and_answer(self, name: str, answer: str) -> list[str]:
        """Starts the program, chooses the entry, answers the box ("y" or "n") and any box that
        follows, and waits for the end; returns the texts of the boxes."""
        self.start_again(self.installed)
        self.choose("All Programs", name)
        box = self.app.wait_message_box(e2e_case.CAPTION)
        harness.send_keys(box, answer)
        if answer == "y":
            harness.wait_until(
                lambda: len(self.app.trace().message_boxes) == 2, BOX_SECONDS, "the outcome's box"
            )
            outcome = self.app.wait_message_box(e2e_case.CAPTION)
            harness.send_keys(outcome, "Return")
        self.app.wait_exit(timeout=10)
        return self.app.trace().message_boxes

    installed: str | None = None  # the program as installed, when the test installs it

    def test_entries_are_removed_with_a_copy_that_regedit_restores(self):
        self.seed(KEYS)
        self.installed = actions.drive_c(self.prefix, self.install_for_everyone())
        self.bring_desktop_up()
        _, user_key, _ = USER_ENTRY

        # "No": nothing changes, and no copy is made.
        before = self.export(user_key, "64")
        self.assertIsNotNone(before)
        boxes = self.choose_and_answer(USER_NAME, "n")
        self.assertEqual(len(boxes), 1)
        self.assertIn("A copy of its entry is saved first.", boxes[0])
        self.assertEqual(self.export(user_key, "64"), before)
        self.assertEqual(self.copies(), [])
        self.assertIsNone(actions.last_command(self.prefix))

        # A copy folder that cannot be made (a file is in its place): nothing is deleted.
        folder = self.copies_folder()
        os.makedirs(os.path.dirname(folder), exist_ok=True)
        with open(folder, "w", encoding="utf-8"):
            pass
        boxes = self.choose_and_answer(USER_NAME, "y")
        self.assertTrue(
            boxes[1].startswith(f'"{USER_NAME}" was not removed from the list of programs'),
            boxes[1],
        )
        self.assertEqual(self.export(user_key, "64"), before)
        os.unlink(folder)

        # "Yes": each entry goes, in its own view only, and its copy puts it back exactly.
        for name, key, view in (USER_ENTRY, M64_ENTRY, M32_ENTRY, MSI_ENTRY):
            with self.subTest(entry=name):
                before = self.export(key, view)
                self.assertIsNotNone(before)
                copies_before = self.copies()
                boxes = self.choose_and_answer(name, "y")
                self.assertEqual(len(boxes), 2, boxes)
                asked = "Windows Installer does not know" if name == MSI_NAME else "cannot find"
                self.assertIn(asked, boxes[0])
                inexact = '"Odd"' if name == USER_NAME else None
                self.assertEqual(inexact is not None, "cannot put these values back" in boxes[0])
                self.assertIn(f'"{name}" was removed from the list of programs.', boxes[1])
                new = [path for path in self.copies() if path not in copies_before]
                self.assertEqual(len(new), 1, self.copies())
                store = self.copies_folder() if name == USER_NAME else self.machine_copies_folder()
                self.assertEqual(os.path.dirname(new[0]), store)
                self.assertIn(harness.windows_path(new[0]).split("\\")[-1], boxes[1])
                # Gone from its view; the other view's key of the same name stays.
                left = {"32": name == M64_NAME, "64": False}
                for any_view, stays in left.items():
                    self.assertEqual(self.exists(key, any_view), stays, f"/reg:{any_view}")
                with open(new[0], "rb") as stream:
                    self.assertEqual(stream.read(2), b"\xff\xfe", "UTF-16LE with a BOM")
                code, _ = self.prefix.run(
                    [harness.WINE64, "regedit", "/S", harness.windows_path(new[0])]
                )
                self.assertEqual(code, 0)
                self.assertEqual(
                    without(self.export(key, view), inexact), without(before, inexact),
                    "restored exactly, but for the values the question named",
                )
        self.assertIsNone(actions.last_command(self.prefix))

    def test_links_are_never_followed_and_an_unreachable_share_is_no_orphan(self):
        self.seed(LINKED_KEYS)
        link_maker = actions.helper_exe("registry_link")
        for root, link, target in LINKS:
            code, out = self.prefix.run([harness.WINE, link_maker, root, "64", link, target])
            self.assertEqual(code, 0, out)
        self.bring_desktop_up()
        for name, key, view in (LINKED_USER, LINKED_MACHINE):
            with self.subTest(entry=name):
                boxes = self.choose_and_answer(name, "y")
                self.assertEqual(len(boxes), 2, boxes)
                self.assertIn("holds a registry link", boxes[1])
                self.assertNotIn("was removed", boxes[1])
                self.assertTrue(self.exists(key, view))
        for target in TARGETS.values():
            self.assertEqual(self.prefix.reg_value(target, "Kept", view64=True), "yes", target)
        self.assertEqual(self.copies(), [])

        # Whether the uninstaller is there cannot be told: the notice, not the offer.
        self.start_again()
        self.choose("All Programs", SHARE_NAME)
        harness.send_keys(self.app.wait_message_box(e2e_case.CAPTION), "Return")
        self.app.wait_exit(timeout=10)
        boxes = self.app.trace().message_boxes
        self.assertEqual(len(boxes), 1, boxes)
        self.assertIn(f'cannot start the uninstaller of "{SHARE_NAME}"', boxes[0])
        self.assertNotIn("may have been removed", boxes[0])


if __name__ == "__main__":
    e2e_case.main()
