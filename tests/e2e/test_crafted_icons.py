"""Crafted icon files, in one prefix: a program file whose resource directory leads outside it
(its icon group's table at 0x7FFFFF00), one whose resource root claims 65,535 entries, and a
126-byte .ico whose bitmap claims 2^31-1 x 2^30 pixels. Each is named by "DisplayIcon", as an
uninstaller's program and as a Windows Installer product's icon; the first is also the program
file of a running process. The program stays up, both submenus open, every crafted row shows the
generic icon, no box appears and nothing faults. A whole crafted program file shows its own red
icon: the same reader gives the real ones."""

from __future__ import annotations

import os

import actions
import crafted_icons
import e2e_case
import harness
import icon_pixels
import regfile
from regfile import UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER, program

DIR = r"C:\Crafted"
OUTSIDE = rf"{DIR}\outside.exe"
ROOT = rf"{DIR}\root.exe"
LYING = rf"{DIR}\lying.ico"
RED = rf"{DIR}\red.exe"
RUNNING = rf"{DIR}\running.exe"  # started as the idle helper, then its file is replaced
FILES = {
    OUTSIDE: crafted_icons.group_table_outside,
    ROOT: crafted_icons.root_of_65535_entries,
    LYING: crafted_icons.lying_ico,
    RED: crafted_icons.red_program,
}
NOWHERE = rf"{DIR}\nothing.exe"
PRODUCT = "{0C0FFEE0-1234-5678-9ABC-DEF012345678}"
ICON_SECONDS = 10


def packed(code: str) -> str:
    """A product code as Windows Installer names its keys."""
    groups = code.strip("{}").split("-")
    tail = "".join(groups[3:])
    return "".join(g[::-1] for g in groups[:3]) + "".join(
        tail[i + 1] + tail[i] for i in range(0, len(tail), 2))


# In menu order. The first row is selected when the submenu opens: a plain one.
CATALOGUE = [
    ("A Plain Program", dict(UninstallString=NOWHERE)),
    ("Crafted 1 Outside Icon", dict(UninstallString=NOWHERE, DisplayIcon=f"{OUTSIDE},0")),
    ("Crafted 2 Root Icon", dict(UninstallString=NOWHERE, DisplayIcon=ROOT)),
    ("Crafted 3 Lying Icon", dict(UninstallString=NOWHERE, DisplayIcon=LYING)),
    ("Crafted 4 Outside Uninstaller", dict(UninstallString=f'"{OUTSIDE}" /uninstall')),
    ("Crafted 5 Root Uninstaller", dict(UninstallString=f"{ROOT} /S")),
    ("Crafted 6 Product Icon", dict(WindowsInstaller=regfile.Dword(1))),
    ("Crafted 7 Red Control", dict(UninstallString=NOWHERE, DisplayIcon=f"{RED},0")),
]
PRODUCT_ICON = regfile.Key(
    rf"HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\Products\{packed(PRODUCT)}",
    {"ProductIcon": f"{LYING}"})


def keys() -> list[regfile.Key]:
    roots = [UNINSTALL_USER, UNINSTALL_32, UNINSTALL_64]
    entries = []
    for i, (name, values) in enumerate(CATALOGUE):
        subkey = PRODUCT if "Product" in name else f"c{i}"
        entries.append(program(roots[i % len(roots)], subkey, DisplayName=name, **values))
    return entries + [PRODUCT_ICON]


def drawn_pixel(pixel: tuple[int, int, int]) -> bool:
    """Part of a picture: darker than the menu's background and its text, or the control's red."""
    return max(pixel) < 160 or icon_pixels.is_red(pixel)


class CraftedIconsTest(actions.ActionCase):
    def setUp(self) -> None:
        super().setUp()
        for path, make in FILES.items():
            target = actions.drive_c(self.prefix, path)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as stream:
                stream.write(make())
        self.bring_desktop_up()
        process = actions.start_idle(self.prefix, RUNNING)
        self.addCleanup(actions.end_process, process)
        # The process runs from its mapping; its program file is now the crafted one.
        running = actions.drive_c(self.prefix, RUNNING)
        os.remove(running)
        with open(running, "wb") as stream:
            stream.write(crafted_icons.group_table_outside())
        self.seed(keys())

    def rows_pictured(self, submenu: str, rows: int) -> tuple[str, list]:
        """Waits until every row of the submenu shows a picture; returns the screenshot and the
        rows' boxes."""
        shot = self.prefix.file("shot.png")
        boxes = icon_pixels.row_boxes(submenu, rows, 16)

        def every_row_pictured():
            icon_pixels.screenshot(shot)
            drawn = [icon_pixels.count(shot, box, drawn_pixel) for box in boxes]
            return drawn if min(drawn) > 0 else None

        harness.wait_until(every_row_pictured, ICON_SECONDS, "a picture on every row")
        return shot, boxes

    def assert_no_fault(self) -> None:
        """Under Wine a fault prints "Unhandled page fault" and may leave the process alive
        under the debugger."""
        with open(self.app.trace_path, "rb") as stream:
            faults = [line for line in stream if b"Unhandled" in line]
        self.assertEqual(faults, [], "nothing faulted")

    def assert_unharmed(self) -> None:
        self.assert_no_fault()
        self.assertTrue(self.app.running(), "the program stays up")
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [], "no box")

    def test_crafted_files_give_the_generic_icon_and_harm_nothing(self):
        app = self.start_again()
        menu = app.wait_menu()
        trace = self.open_submenus(menu)
        top = trace.popups[0].menu
        self.assert_unharmed()

        # "All Programs": the generic icon on every crafted row, the control's own red one.
        harness.send_keys(menu, "Home", "Right")
        submenu = harness.wait_until(
            lambda: (w := app.menu_windows()) and len(w) >= 2 and max(
                w, key=lambda x: harness.window_geometry(x)[0]), 10, "All Programs")
        shot, boxes = self.rows_pictured(submenu, len(CATALOGUE))
        least = 16 * 16 // 4
        harness.wait_until(
            lambda: icon_pixels.screenshot(shot) or
            icon_pixels.count(shot, boxes[-1], icon_pixels.is_red) >= least,
            ICON_SECONDS, "the control's red icon")
        for (name, _), box in list(zip(CATALOGUE, boxes))[1:-1]:
            self.assertEqual(icon_pixels.count(shot, box, icon_pixels.is_red), 0, name)
        self.assert_unharmed()

        # "Kill Process": the process whose program file was replaced gets the generic icon.
        harness.send_keys(menu, "Escape")
        captions = trace.captions(top)
        harness.send_keys(menu, *e2e_case.keys_to_open(captions, "Kill Process"))
        processes = trace.captions(trace.submenu_of(top, "Kill Process"))
        self.assertIn("running.exe", processes)
        submenu = harness.wait_until(
            lambda: (w := app.menu_windows()) and len(w) >= 2 and max(
                w, key=lambda x: harness.window_geometry(x)[0]), 10, "Kill Process")
        self.rows_pictured(submenu, len(processes))
        self.assert_unharmed()

        harness.send_keys(menu, "Escape")
        self.assert_ends_at_once(self.choose_exit(menu))
        self.assert_no_fault()


if __name__ == "__main__":
    e2e_case.main()
