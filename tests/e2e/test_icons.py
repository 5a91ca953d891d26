"""Each program of "All Programs" with its icon, at 96 and 144 dpi: an .ico file by its path, an
.ico file by path and index, and the generic icon for a program that names none. Under Wine the
pictures are drawn by the program (HBMMENU_CALLBACK), 16 and 24 pixels wide. Saves the
screenshots icons-96dpi and icons-144dpi when screenshots are asked for."""

from __future__ import annotations

import os

import actions
import e2e_case
import harness
import icon_pixels
import product_menu
from regfile import UNINSTALL_32, UNINSTALL_USER, program

FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "icons")
NOWHERE = r"C:\Icons\nothing.exe"
RED = r"C:\Icons\red.ico"
BLUE = r"C:\Icons\blue.ico"
# In menu order; the first is selected when the submenu opens, so it shows no colour of its own.
CATALOGUE = [
    program(UNINSTALL_USER, "a", DisplayName="A Plain Program", UninstallString=NOWHERE),
    program(UNINSTALL_32, "b", DisplayName="Blue Program", UninstallString=NOWHERE,
            DisplayIcon=f'"{BLUE}",0'),
    program(UNINSTALL_32, "r", DisplayName="Red Program", UninstallString=NOWHERE, DisplayIcon=RED),
    program(UNINSTALL_USER, "z", DisplayName="Zed Plain Program", UninstallString=NOWHERE),
]
ICON_SECONDS = 5


class IconsTest(e2e_case.E2ECase):
    def _shows_icons(self, dpi: int) -> None:
        if dpi != 96:
            self.prefix.set_dpi(dpi)
        for name in ("red.ico", "blue.ico"):
            actions.put_file(self.prefix, os.path.join(FIXTURES, name), rf"C:\Icons\{name}")
        self.seed(CATALOGUE)
        app = self.start()
        menu = app.wait_menu()
        submenu = self.open_all_programs(menu)
        size = round(16 * dpi / 96)
        rows = icon_pixels.row_boxes(submenu, len(CATALOGUE), size)
        shot = self.prefix.file("shot.png")
        least = size * size // 4  # the icons' squares fill most of their size

        def icons_shown():
            icon_pixels.screenshot(shot)
            red = icon_pixels.count(shot, rows[2], icon_pixels.is_red)
            blue = icon_pixels.count(shot, rows[1], icon_pixels.is_blue)
            return (red, blue) if red >= least and blue >= least else None

        harness.wait_until(icons_shown, ICON_SECONDS, "the red and blue icons on their rows")
        plain = rows[3]
        self.assertEqual(icon_pixels.count(shot, plain, icon_pixels.is_red), 0)
        self.assertEqual(icon_pixels.count(shot, plain, icon_pixels.is_blue), 0)
        self.assertGreater(
            icon_pixels.count(shot, plain, lambda p: p != (255, 255, 255) and p[0] < 200),
            size, "the generic icon is drawn")
        product_menu.screenshot(f"icons-{dpi}dpi", self.prefix)
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [], "no box")
        harness.send_keys(menu, "Escape")  # back to the top menu
        self.assert_ends_at_once(self.choose_exit(menu))

    def test_icons_at_96_dpi(self):
        self._shows_icons(96)

    def test_icons_at_144_dpi(self):
        self._shows_icons(144)


if __name__ == "__main__":
    e2e_case.main()
