"""A hostile catalogue: values of every type and size, text with odd bytes, names full of the
characters that menus, commands and the program's own line format give meaning to, a key name of
the longest length, thousands of subkeys and a stored last command of the wrong type. The menu
comes up, no box appears, each readable entry is listed once, each unreadable one is dropped
alone, and the program ends.

Wine's menu trace cannot print item texts of about 250 characters or more, and a traced program
dies on them from about 300: names that long are checked in a run without the trace, by choosing
them."""

from __future__ import annotations

import collections
import dataclasses

import os

import actions
import e2e_case
import harness
import icon_pixels
import regfile
from regfile import UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER, Raw, program, utf16

REG_NONE, REG_SZ, REG_BINARY, REG_MULTI_SZ, REG_QWORD = 0, 1, 3, 7, 11
UNKNOWN_TYPE = 0x1234
NOWHERE = r"C:\Hostile\nothing.exe"  # no such file: no entry gets a date from a file
BEYOND_64_KB = 70000  # characters, twice as many bytes
LONGEST_KEY_NAME = 255
BULK_SUBKEYS = 3000  # without a display name: enumerated and passed over
BULK_LISTED = 40
EXPAND_DATE = regfile.ExpandSz("20991231")
EXPAND_COMMAND = regfile.ExpandSz(r"%Hostile%\q.exe /S")
PRODUCT_CODES = [f"{{0000000{i}-1111-2222-3333-444444444444}}" for i in range(3)]


@dataclasses.dataclass
class Case:
    root: str
    subkey: str
    values: dict[str, object]
    shown: str | None  # the name "All Programs" shows; None: the entry is dropped


def named(root: str, subkey: str, name: object, shown: str | None, **values: object) -> Case:
    return Case(root, subkey, {"DisplayName": name, "UninstallString": NOWHERE, **values}, shown)


# Subkeys enumerate in name order: each dropped entry sits between listed ones of its key.
CASES = [
    # The display name's type and bytes.
    named(UNINSTALL_USER, "a01", "Plain Control", "Plain Control", InstallDate="20200101"),
    named(UNINSTALL_USER, "a02", Raw(REG_MULTI_SZ, utf16("Multi\0String\0\0")), None),
    named(UNINSTALL_USER, "a03", regfile.ExpandSz("100% %PATH% Expand"), "100% %PATH% Expand"),
    named(UNINSTALL_USER, "a04", 7, None),
    named(UNINSTALL_USER, "a05", Raw(REG_SZ, utf16("No Terminator")), "No Terminator"),
    named(UNINSTALL_USER, "a06", Raw(REG_QWORD, bytes(8)), None),
    named(UNINSTALL_USER, "a07", Raw(REG_SZ, utf16("Odd Byte Count") + b"A"), "Odd Byte Count"),
    named(UNINSTALL_USER, "a08", Raw(REG_NONE, b"\x01\x02"), None),
    named(UNINSTALL_USER, "a09", Raw(REG_SZ, utf16("Before\0After\0")), "Before"),
    named(UNINSTALL_USER, "a10", Raw(UNKNOWN_TYPE, utf16("Unknown\0")), None),
    named(UNINSTALL_USER, "a11", Raw(REG_SZ, utf16("Lone \ud800 Half\0")), "Lone \ud800 Half"),
    named(UNINSTALL_USER, "a12", regfile.Binary(utf16("Binary\0")), None),
    named(UNINSTALL_USER, "a13", Raw(REG_SZ, b""), None),  # no data: an empty name, not listed
    # Names that mean something to a menu, a command interpreter or the program's own lines.
    named(UNINSTALL_USER, "b01", "R&D && Co", "R&D && Co"),
    named(UNINSTALL_USER, "b02", "-", "-"),
    named(UNINSTALL_USER, "b03", "Odd<#>Name <#> Twice", "Odd<#>Name <#> Twice"),
    named(UNINSTALL_USER, "b04", "Say \"Cheese\" 'Now'", "Say \"Cheese\" 'Now'"),
    named(UNINSTALL_USER, "b05", "Tab\tIn\tName", "Tab\tIn\tName"),
    named(UNINSTALL_USER, "b06", "Rocket \U0001f680 Launcher", "Rocket \U0001f680 Launcher"),
    named(UNINSTALL_USER, "b07 \U0001f680 & <#> \"%\"", "Odd Key Name", "Odd Key Name"),
    named(UNINSTALL_USER, "K" * LONGEST_KEY_NAME, "Longest Key Name", "Longest Key Name"),
    # The other values' types: a value read as text or as a flag that is neither drops its
    # entry; a date that is no date only costs the recent item.
    named(UNINSTALL_32, "c01", "Numeric Command", None, UninstallString=1),
    named(UNINSTALL_32, "c02", "Text NoRemove", None, NoRemove="1"),
    named(UNINSTALL_32, "c03", "Zero NoRemove", "Zero NoRemove", NoRemove=0),
    named(UNINSTALL_32, "c04", "Wide NoRemove", None, NoRemove=Raw(REG_QWORD, bytes(8))),
    named(UNINSTALL_32, "c05", "Numeric Date", "Numeric Date", InstallDate=20240101),
    named(UNINSTALL_32, "c06", "Slashed Date", "Slashed Date", InstallDate="5/1/2099"),
    named(UNINSTALL_32, "c07", "Expand Date", "Expand Date", InstallDate=EXPAND_DATE),
    named(UNINSTALL_32, "c08", "Quiet Only", "Quiet Only", UninstallString=None,
          QuietUninstallString=EXPAND_COMMAND),
    named(UNINSTALL_32, "c09", "Expand Command", "Expand Command", UninstallString=EXPAND_COMMAND),
    # Windows Installer entries without a command: only a 4-byte number 1 lists the entry; a
    # flag of another type counts as none, and drops nothing on its own.
    named(UNINSTALL_32, PRODUCT_CODES[0], "Installer Flag", "Installer Flag",
          UninstallString=None, WindowsInstaller=1),
    named(UNINSTALL_32, PRODUCT_CODES[1], "Installer Text Flag", None,
          UninstallString=None, WindowsInstaller="1"),
    named(UNINSTALL_64, PRODUCT_CODES[2], "Installer Wide Flag", None,
          UninstallString=None, WindowsInstaller=Raw(REG_QWORD, bytes(8))),
    named(UNINSTALL_64, "c10", "Text Flag With Command", "Text Flag With Command",
          WindowsInstaller="1"),
    # What Windows' list leaves out, and the same values of types that count as absent.
    named(UNINSTALL_32, "c11", "System Component", None, SystemComponent=1),
    named(UNINSTALL_32, "c12", "Text Component", "Text Component", SystemComponent="1"),
    named(UNINSTALL_32, "c13", "Wide Component", "Wide Component",
          SystemComponent=Raw(REG_QWORD, (1).to_bytes(8, "little"))),
    named(UNINSTALL_32, "c14", "Byte Component", "Byte Component",
          SystemComponent=Raw(4, b"\x01")),
    named(UNINSTALL_32, "c15", "An Update", None, ParentKeyName="c03"),
    named(UNINSTALL_32, "c16", "Numeric Parent", "Numeric Parent", ParentKeyName=1),
    named(UNINSTALL_32, "c17", "A Hotfix", None, ReleaseType="hotfix"),
    named(UNINSTALL_32, "c18", "Numeric Release", "Numeric Release", ReleaseType=1),
    # Sizes: none at all, and beyond 64 KB.
    named(UNINSTALL_64, "d01", "Empty Command", None, UninstallString=""),
    named(UNINSTALL_64, "d02", "Huge Command", "Huge Command",
          UninstallString=NOWHERE + " /x" * (BEYOND_64_KB // 3)),
    named(UNINSTALL_64, "d03", "Huge Icon", "Huge Icon",
          DisplayIcon="C:\\" + "i" * BEYOND_64_KB + ".ico,0"),
    named(UNINSTALL_64, "d04", "Huge Binary", "Huge Binary",
          Junk=regfile.Binary(bytes(2 * BEYOND_64_KB))),
    Case(UNINSTALL_64, "d05", {"UninstallString": NOWHERE}, None),
]

# Enumerated by the thousand; a few of them listed.
BULK = [
    Case(UNINSTALL_64, f"e{i:05d}", {"Junk": i}, None)
    if i % (BULK_SUBKEYS // BULK_LISTED)
    else named(UNINSTALL_64, f"e{i:05d}", f"Bulk {i:05d}", f"Bulk {i:05d}")
    for i in range(BULK_SUBKEYS)
]

# Newest first: only eight ASCII digits of "InstallDate" are a date.
EXPECTED_RECENT = ["Expand Date", "Plain Control"]

# The last command of a type no text read accepts: no prompt, and it stays stored.
ODD_LAST = regfile.Key(regfile.STATE_KEY, {"Last": Raw(REG_BINARY, utf16("Plain Control\0"))})

# Names past what the trace can print, chosen by position: (shown name's marker, its length).
LONG_NAMES = [("Long 1", 300), ("Long 2", 5000), ("Long 3", BEYOND_64_KB)]
STANDIN_DIR = r"C:\tapwise test"
STANDIN = rf"{STANDIN_DIR}\standin_uninstaller.exe"
STANDIN_LOG = rf"{STANDIN_DIR}\log.txt"


def keys(cases: list[Case]) -> list[regfile.Key]:
    return [
        program(case.root, case.subkey, **{k: v for k, v in case.values.items() if v is not None})
        for case in cases
    ]


def joined(text: str | None) -> str | None:
    """The trace prints a character beyond the BMP as two escapes, one per surrogate; a
    surrogate without its partner stays one."""
    if text is None:
        return None
    return text.encode("utf-16-le", "surrogatepass").decode("utf-16-le", "surrogatepass")


class HostileCatalogueTest(e2e_case.E2ECase):
    def test_each_readable_entry_once_and_the_rest_dropped_alone(self):
        self.seed(keys(CASES + BULK) + [ODD_LAST])
        app = self.start()
        menu = app.wait_menu()
        trace = self.open_submenus(menu)
        top = trace.popups[0].menu
        listed = trace.captions(trace.submenu_of(top, "All Programs"))
        shown = [joined(caption) for caption in listed]
        expected = [
            actions.menu_caption(case.shown) for case in CASES + BULK if case.shown is not None
        ]
        self.assertEqual(collections.Counter(shown), collections.Counter(expected))
        recent = trace.captions(trace.submenu_of(top, "Recent Programs"))
        self.assertEqual(recent, [actions.menu_caption(name) for name in EXPECTED_RECENT])
        self.assertEqual(trace.message_boxes, [])
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [])

        self.assert_ends_at_once(self.choose_exit(menu))
        self.assertIsNotNone(self.prefix.reg_value(regfile.STATE_KEY, "Last"), "unread, kept")


class LongNamesTest(actions.ActionCase):
    """Untraced: each long name is chosen by its place in "All Programs", and its own command
    runs; the last place is the third, so each is listed once."""

    def setUp(self) -> None:
        super().setUp()
        actions.put_file(self.prefix, actions.helper_exe("standin_uninstaller"), STANDIN)
        self.seed(
            [
                program(
                    UNINSTALL_USER,
                    marker,
                    DisplayName=marker + " " + "x" * (length - len(marker) - 1),
                    UninstallString=f'"{STANDIN}" /{marker.replace(" ", "")} --log "{STANDIN_LOG}"',
                )
                for marker, length in LONG_NAMES
            ]
        )
        self.bring_desktop_up()

    def choose_blind(self, keys_in_submenu: list[str]) -> str:
        """Starts the program untraced, chooses an item of "All Programs" with these keys after
        the one that opens the submenu on its first item, and returns the command that ran."""
        log = actions.drive_c(self.prefix, STANDIN_LOG)
        before = len(actions.read_lines(log))
        self.app = self.prefix.launch(e2e_case._options.exe, channels="-all")
        menu = self.app.wait_menu()
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [], "no box")
        harness.send_keys(menu, "Home", "Right", *keys_in_submenu, "Return")
        lines = harness.wait_until(
            lambda: actions.read_lines(log)[before:], actions.REMOVAL_SECONDS, "the stand-in"
        )
        self.app.wait_exit(timeout=actions.EXIT_SECONDS)
        # The next start would ask whether the program chosen is still there.
        self.prefix.run([harness.WINE, "reg", "delete", regfile.STATE_KEY, "/v", "Last", "/f"])
        self.assertEqual(len(lines), 1, lines)
        return lines[0]

    def test_long_names_are_listed_once_and_run_their_own_commands(self):
        for keys_in_submenu, marker in (
            ([], "Long1"),
            (["Down"], "Long2"),
            (["Down", "Down"], "Long3"),
            (["Up"], "Long3"),
        ):
            with self.subTest(keys=keys_in_submenu):
                self.assertIn(f"/{marker} ", self.choose_blind(keys_in_submenu))

    def test_the_menu_comes_up_and_closes(self):
        self.app = self.prefix.launch(e2e_case._options.exe, channels="-all")
        self.assert_auto_closes(self.dismiss(self.app.wait_menu()))


# Icons that cost nothing: each bad file, and each path never to be opened, gives the generic
# icon, with no box, no hang and no crash. (file name in C:\Hostile\icons, its content or None
# for a directory, the DisplayIcon value).
ICON_DIR = r"C:\Hostile\icons"
GARBAGE = b"\0\0\1\0\5\0" + b"\xff" * 64
TRUNCATED_BYTES = 1000
HOSTILE_ICONS = [
    ("Corrupt Icon", "corrupt.ico", GARBAGE, rf"{ICON_DIR}\corrupt.ico"),
    ("Truncated Exe", "truncated.exe", "truncated", rf"{ICON_DIR}\truncated.exe,0"),
    ("Directory Icon", "folder", None, rf"{ICON_DIR}\folder"),
    ("Empty Icon", "empty.exe", b"", rf"{ICON_DIR}\empty.exe"),
    ("Huge Index", "whole.exe", "whole", rf"{ICON_DIR}\whole.exe,2147483647"),
    ("Missing Icon", None, None, rf"{ICON_DIR}\missing.exe,0"),
    ("Network Icon", None, None, r"\\nowhere\share\app.exe,0"),
    ("Device Icon", None, None, r"\\.\COM1"),
]
ICON_WAIT_SECONDS = 2


class HostileIconsTest(e2e_case.E2ECase):
    def _put_icon_files(self) -> None:
        with open(e2e_case._options.exe, "rb") as stream:
            program_bytes = stream.read()
        for _, name, content, _ in HOSTILE_ICONS:
            if name is None:
                continue
            path = actions.drive_c(self.prefix, rf"{ICON_DIR}\{name}")
            if content is None:
                os.makedirs(path, exist_ok=True)
                continue
            os.makedirs(os.path.dirname(path), exist_ok=True)
            if content == "truncated":
                content = program_bytes[:TRUNCATED_BYTES]
            elif content == "whole":
                content = program_bytes
            with open(path, "wb") as stream:
                stream.write(content)

    def test_bad_icon_files_give_the_generic_icon_and_cost_nothing(self):
        self._put_icon_files()
        self.seed(
            [
                program(UNINSTALL_USER, f"i{i}", DisplayName=name, UninstallString=NOWHERE,
                        DisplayIcon=icon)
                for i, (name, _, _, icon) in enumerate(HOSTILE_ICONS)
            ]
        )
        app = self.start()
        menu = app.wait_menu()
        submenu = self.open_all_programs(menu)
        shot = self.prefix.file("shot.png")

        def every_row_pictured():
            icon_pixels.screenshot(shot)
            rows = icon_pixels.row_boxes(submenu, len(HOSTILE_ICONS), 16)
            drawn = [icon_pixels.count(shot, row, lambda p: max(p) < 160) for row in rows]
            return drawn if min(drawn) > 0 else None

        harness.wait_until(every_row_pictured, ICON_WAIT_SECONDS * 5, "a picture on every row")
        self.assertTrue(app.running())
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [], "no box")
        harness.send_keys(menu, "Escape")
        self.assert_ends_at_once(self.choose_exit(menu))


if __name__ == "__main__":
    e2e_case.main()
