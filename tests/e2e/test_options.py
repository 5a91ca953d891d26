"""The options dialog: where it opens, its keyboard, and how OK and closing it change the menu that
comes back."""

from __future__ import annotations

import time

import e2e_case
import harness
import menu_table
import product_menu
from product_menu import OPTIONS_CAPTION
from regfile import UNINSTALL_32, UNINSTALL_64, program

# Where the two program submenus are in an outline of the menu.
ALL = menu_table.index("All Programs")
RECENT = menu_table.index("Recent Programs")
MS_REDIST = "Microsoft Visual C++ 2015 Redistributable"
MS_DRIVER = "Windows Driver Package - Acme (usbser) Ports"
LOCKED = "Locked Tool"  # NoRemove=1


def _entry(root: str, subkey: str, name: str, date: str | None = None, **values):
    # The commands name files that do not exist, so that no date comes from a file.
    if date:
        values["InstallDate"] = date
    return program(
        root, subkey, DisplayName=name, UninstallString=rf"C:\{subkey}\uninstall.exe", **values
    )


CATALOGUE = [
    _entry(UNINSTALL_32, "Alpha", "Alpha Editor", "20230105"),
    _entry(UNINSTALL_64, "Zeta", "Zeta Player", "20240220"),
    _entry(UNINSTALL_32, "VCRedist", MS_REDIST, "20991231"),
    _entry(UNINSTALL_64, "Driver", MS_DRIVER),
    _entry(UNINSTALL_32, "Locked", LOCKED, "20991229", NoRemove=1),
]

PRODUCT_CODE = "{6F2D3C1A-1B2C-4D5E-8F90-A1B2C3D4E5F6}"
# What Windows' own list leaves out, each in its own way.
HIDDEN_BY_WINDOWS = [
    _entry(UNINSTALL_32, "Helper", "Alpha Helper", SystemComponent=1),
    _entry(UNINSTALL_64, "KB100", "Alpha Fix KB100", ParentKeyName="Alpha"),
    _entry(UNINSTALL_32, "Hotfix", "Zeta Hotfix", ReleaseType="Hotfix"),
    program(UNINSTALL_32, "Nothing", DisplayName="Nothing To Run"),
    program(UNINSTALL_64, PRODUCT_CODE, DisplayName="Msi Product", WindowsInstaller=1),
]
# "Msi Product" has no command, but its uninstall is msiexec's, so Windows' list shows it.
BY_DEFAULT = ["Alpha Editor", "Msi Product", "Zeta Player"]
EVERYTHING = [
    "Alpha Editor",
    "Alpha Fix KB100",
    "Alpha Helper",
    "Msi Product",
    "Nothing To Run",
    "Zeta Hotfix",
    "Zeta Player",
]

# (All Programs, Recent Programs) for each setting of the two options.
AT_START = (["Alpha Editor", "Zeta Player"], ["Zeta Player", "Alpha Editor"])
MICROSOFT_SHOWN = (
    ["Alpha Editor", MS_REDIST, MS_DRIVER, "Zeta Player"],
    [MS_REDIST, "Zeta Player", "Alpha Editor"],
)
BOTH_CHANGED = (
    ["Alpha Editor", LOCKED, MS_REDIST, MS_DRIVER, "Zeta Player"],
    [MS_REDIST, LOCKED, "Zeta Player", "Alpha Editor"],
)

AUTO_CLOSE_PERIOD = 3.0  # seconds; the dialog outlasts one tick of the running timer
SETTLE = 0.5  # seconds for a key that should do nothing to show that it did nothing
MOVED_POINT = (150, 650)  # where the pointer goes while the dialog is open; not over the dialog
POINTER_SETTLE = 0.3  # seconds for Wine to take a pointer moved from outside as the cursor


class OptionsTest(e2e_case.E2ECase):
    def program_menus(self, popup: int) -> tuple[list, list]:
        """(All Programs, Recent Programs) children of pop-up number `popup` (from 1), opened."""
        trace = self.open_submenus(self.app.wait_menu(), popup)
        outline = trace.outline(trace.popups[popup - 1].menu)
        return _children(outline[ALL]), _children(outline[RECENT])

    def open_dialog(self, menu: str) -> str:
        product_menu.choose(menu, "Options...")
        return product_menu.wait_window(OPTIONS_CAPTION)

    def assert_still_open(self, dialog: str, popups: int) -> None:
        time.sleep(SETTLE)
        self.assertIn(dialog, harness.visible_windows(name=OPTIONS_CAPTION))
        self.assertEqual(len(self.app.trace().popups), popups, "the menu must not come back yet")

    def test_ok_rebuilds_the_menus_with_microsoft_products_shown(self):
        self.seed(CATALOGUE)
        app = self.start()
        menu = app.wait_menu()
        self.assertEqual(self.program_menus(1), AT_START)

        dialog = self.open_dialog(menu)
        x, y, width, height = harness.window_geometry(dialog)
        screen_width, screen_height = product_menu.display_size()
        self.assertAlmostEqual(x, (screen_width - width) / 2, delta=1, msg="centred the first time")
        self.assertAlmostEqual(y, (screen_height - height) / 2, delta=1, msg="centred")
        product_menu.screenshot("options-dialog", self.prefix, OPTIONS_CAPTION)

        # Enter while a check box has the focus, and Escape, do nothing.
        harness.send_keys(dialog, "Return", "Escape")
        self.assert_still_open(dialog, popups=1)

        # The first check box has the focus: Space unchecks "Hide Microsoft products"; three Tabs
        # reach OK.
        harness.send_keys(dialog, "space", "Tab", "Tab", "Tab")
        # The pointer moves before OK is pressed. Wine asks X where the pointer is only when its
        # own record is over 100 ms old, and the end of the button's capture after Space renews
        # that record with the old point: the move comes after the last Space, with a pause.
        harness.move_pointer(*MOVED_POINT)
        time.sleep(POINTER_SETTLE)
        harness.send_keys(dialog, "Return")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        self.assertEqual(self.program_menus(2), MICROSOFT_SHOWN)
        popup = app.trace().popups[1]
        self.assertEqual((popup.x, popup.y), MOVED_POINT, "the menu comes back at the cursor")

        self.assert_auto_closes(self.dismiss(app.wait_menu()))

    def test_closing_keeps_the_menus_and_the_choices_until_a_later_ok(self):
        self.seed(CATALOGUE)
        app = self.start()
        dialog = self.open_dialog(app.wait_menu())
        opened = time.monotonic()

        # Uncheck the first box, leave the focus on the second, and close with Alt+F4 after the
        # running auto-close timer has ticked at least once.
        harness.send_keys(dialog, "space", "Tab")
        time.sleep(max(0.0, opened + AUTO_CLOSE_PERIOD + SETTLE - time.monotonic()))
        self.assertTrue(app.running(), "the program must not end while the dialog is open")
        harness.send_keys(dialog, "alt+F4")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        self.assertEqual(self.program_menus(2), AT_START, "closing does not rebuild")

        # The focus comes back to the second box: Space checks it, two Tabs reach OK, Space
        # presses it. The rebuild uses the boxes as they stand, the first one unchecked before
        # closing.
        dialog = self.open_dialog(app.wait_menu())
        harness.send_keys(dialog, "space", "Tab", "Tab", "space")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        self.assertEqual(self.program_menus(3), BOTH_CHANGED)

        self.assert_auto_closes(self.dismiss(app.wait_menu()))


    def test_hidden_parts_updates_and_entries_without_command_only_on_request(self):
        self.seed(CATALOGUE + HIDDEN_BY_WINDOWS)
        app = self.start()
        menu = app.wait_menu()
        self.assertEqual(self.program_menus(1)[0], BY_DEFAULT)

        # From the first box: two Tabs reach "Show system components and updates", Space checks
        # it, Tab reaches OK and Return presses it.
        dialog = self.open_dialog(menu)
        harness.send_keys(dialog, "Tab", "Tab", "space", "Tab", "Return")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        self.assertEqual(self.program_menus(2)[0], EVERYTHING)

        # The focus comes back to OK: three Tabs wrap round to the third box.
        dialog = self.open_dialog(app.wait_menu())
        harness.send_keys(dialog, "Tab", "Tab", "Tab", "space", "Tab", "Return")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        self.assertEqual(self.program_menus(3)[0], BY_DEFAULT, "hidden again")
        self.assert_auto_closes(self.dismiss(app.wait_menu()))


def _children(entry) -> list:
    """The children of a submenu entry of Trace.outline; an item without children has none."""
    return list(entry[1]) if isinstance(entry, tuple) else []


if __name__ == "__main__":
    e2e_case.main()
