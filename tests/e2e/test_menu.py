"""The popup menu as the program builds it: fixed tree, default item, where it pops up, and the
two program submenus filled from every uninstall root and registry view."""

from __future__ import annotations

import time

import e2e_case
import harness
import menu_table
import regfile
from regfile import UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER, program

# Where the two program submenus are in an outline of the menu.
ALL = menu_table.index("All Programs")
RECENT = menu_table.index("Recent Programs")
TPM_LEFTALIGN_RIGHTBUTTON = 0x0002
FIRST_ITEM_OFFSET = (20, 8)  # pixels into the menu window: over its first item
AWAY_FROM_THE_MENU = (50, 50)
ESCAPE_SETTLE = 0.3  # seconds for a menu to be gone after Escape

DEFAULT_ITEMS = [row.caption for row in menu_table.under() if row.is_default]


def _dated(root: str, subkey: str, name: str, date: str, **values) -> regfile.Key:
    command = rf"C:\Program Files\{subkey}\uninstall.exe"
    return program(
        root, subkey, DisplayName=name, InstallDate=date, UninstallString=command, **values
    )


MSI_COMMAND = regfile.ExpandSz("MsiExec.exe /X{00000000-1111-2222-3333-444444444444}")

# Programs spread over HKLM's two views and HKCU. The uninstall commands name files that do not
# exist, so that no date comes from a file.
CATALOGUE = [
    # HKLM, 64-bit view
    _dated(UNINSTALL_64, "Alpha", "Alpha Editor", "20230105"),
    _dated(UNINSTALL_64, "Zeta", "Zeta Player", "20240220"),
    _dated(UNINSTALL_64, "Shared", "Shared Tool", "20190101"),
    _dated(UNINSTALL_64, "VCRedist", "Microsoft Visual C++ 2015 Redistributable", "20991231"),
    _dated(UNINSTALL_64, "Sill", "my windowsill tool", "20991230"),
    program(UNINSTALL_64, "NoName", UninstallString=r"C:\NoName\uninstall.exe"),
    # HKLM, 32-bit view
    _dated(UNINSTALL_32, "ATT", "AT&T Connect", "20220601"),
    _dated(UNINSTALL_32, "Beta", "beta tool", "20211111"),
    _dated(UNINSTALL_32, "Locked", "Locked Driver", "20991229", NoRemove=1),
    _dated(UNINSTALL_32, "Keep", "Kept Anyway", "20200202", NoRemove=0),
    _dated(UNINSTALL_32, "Shared", "Shared Tool", "20190101"),
    program(UNINSTALL_32, "Short", DisplayName="Short Date", InstallDate="2099123",
            UninstallString=r"C:\Program Files\Short\uninstall.exe"),
    program(UNINSTALL_32, "Slash", DisplayName="Slashed Date", InstallDate="5/1/2099",
            UninstallString=r"C:\Program Files\Slash\uninstall.exe"),
    program(UNINSTALL_32, "Msi", DisplayName="Msi Package", UninstallString=MSI_COMMAND),
    # HKCU (one key for both views, read once)
    _dated(UNINSTALL_USER, "UserApp", "User App", "20240101"),
    _dated(UNINSTALL_USER, "Gamma", "gamma notes", "20180808"),
    program(UNINSTALL_USER, "Delta", DisplayName="Delta Sync", QuietUninstallString=r"C:\D\u.exe /S"),
    # A stored last command that matches no listed program: no prompt, and it is deleted.
    regfile.Key(regfile.STATE_KEY, {"Last": r"C:\Program Files\Gone\unins000.exe"}),
]

# Captions as handed to Wine: "&" is doubled so that the menu shows the name as written.
EXPECTED_ALL = [
    "Alpha Editor",
    "AT&&T Connect",
    "beta tool",
    "Delta Sync",
    "gamma notes",
    "Kept Anyway",
    "Msi Package",
    "Shared Tool",
    "Shared Tool",
    "Short Date",
    "Slashed Date",
    "User App",
    "Zeta Player",
]

# Dated and shown: Zeta 20240220, User App 20240101, Alpha 20230105, AT&T 20220601,
# beta 20211111, Kept 20200202, Shared 20190101 (twice: one per HKLM view), gamma 20180808.
# "5/1/2099" is no date, so Slashed Date is not among them.
EXPECTED_RECENT = [
    "Zeta Player",
    "User App",
    "Alpha Editor",
    "AT&&T Connect",
    "beta tool",
    "Kept Anyway",
    "Shared Tool",
    "Shared Tool",
]

# On 32-bit Windows there is one machine key (the path of the 64-bit view) and the user's key.
CATALOGUE_32_BIT_SYSTEM = [
    _dated(UNINSTALL_64, "Alpha", "Alpha Editor", "20230105"),
    _dated(UNINSTALL_64, "Shared", "Shared Tool", "20190101"),
    _dated(UNINSTALL_USER, "Shared", "Shared Tool", "20190101"),
    _dated(UNINSTALL_USER, "UserApp", "User App", "20240101"),
]


class MenuTest(e2e_case.E2ECase):
    def popped_menu(self):
        """Waits for the one pop-up and returns (trace, top menu handle, menu window)."""
        app = self.app
        window = app.wait_menu()
        trace = self.open_submenus(window)
        self.assertEqual(len(trace.popups), 1, "one pop-up per start")
        return trace, trace.popups[0].menu, window

    def test_fixed_tree_default_item_and_point_with_an_empty_catalogue(self):
        app = self.start()
        trace, top, window = self.popped_menu()

        popup = trace.popups[0]
        self.assertEqual(popup.flags, TPM_LEFTALIGN_RIGHTBUTTON)
        self.assertEqual((popup.x, popup.y), e2e_case.POINT)
        self.assertEqual(harness.window_geometry(window)[:2], e2e_case.POINT)

        outline = trace.outline(top)
        kill = outline[menu_table.index("Kill Process")]
        # The fixed tree is the table's; "All Programs" and "Recent Programs" have no children
        # and are plain items.
        self.assertEqual(outline, menu_table.outline({"Kill Process": kill}))
        self.assertEqual(trace.default_items(top), DEFAULT_ITEMS)
        self.assertEqual(trace.message_boxes, [])

        # Wine's own processes are always there, so "Kill Process" always opens a submenu.
        self.assertIsInstance(kill, tuple)
        caption, processes = kill
        self.assertEqual(caption, "Kill Process")
        for name in (self.exe_name, "cursor_holder.exe", "winedevice.exe"):
            self.assertEqual(processes.count(name), 1, f"{name} once in {processes}")

        self.assert_ends_at_once(self.choose_exit(window))
        self.assertTrue(app.wait_exit(timeout=1))

    def test_program_submenus_from_both_roots_and_views(self):
        self.seed(CATALOGUE)
        self.start()
        trace, top, window = self.popped_menu()

        outline = trace.outline(top)
        self.assertEqual(outline[ALL], ("All Programs", EXPECTED_ALL))
        self.assertEqual(outline[RECENT], ("Recent Programs", EXPECTED_RECENT))
        self.assertEqual(trace.default_items(top), DEFAULT_ITEMS)
        self.assertEqual(trace.message_boxes, [], "a stale last command raises no prompt")

        self.assert_ends_at_once(self.choose_exit(window))
        self.assertIsNone(self.prefix.reg_value(regfile.STATE_KEY, "Last"))


    def test_all_programs_filled_when_the_mouse_opens_it(self):
        self.seed(CATALOGUE)
        app = self.start()
        window = app.wait_menu()
        trace = app.wait_popup()
        top = trace.popups[0].menu
        all_programs = trace.submenu_of(top, "All Programs")
        self.assertEqual(trace.menus.get(all_programs), [], "empty until it opens")

        x, y, _, _ = harness.window_geometry(window)
        harness.move_pointer(x + FIRST_ITEM_OFFSET[0], y + FIRST_ITEM_OFFSET[1])
        trace = app.wait_submenu_filled(all_programs)
        self.assertEqual(trace.outline(top)[0], ("All Programs", EXPECTED_ALL))
        self.assertEqual(trace.menus.get(trace.submenu_of(top, "Recent Programs")), [],
                         "a submenu the user never opened stays empty")
        harness.move_pointer(*AWAY_FROM_THE_MENU)
        since = self.dismiss(window)
        time.sleep(ESCAPE_SETTLE)
        if app.menu_windows():  # the submenu had the keyboard: Escape closed it alone
            since = self.dismiss(window)
        self.assert_auto_closes(since)


class MenuOn32BitWindowsTest(e2e_case.E2ECase):
    ARCH = "win32"

    def test_each_program_once(self):
        self.seed(CATALOGUE_32_BIT_SYSTEM)
        app = self.start()
        window = app.wait_menu()
        trace = self.open_submenus(window)
        outline = trace.outline(trace.popups[0].menu)
        # The same name under both roots is two registrations, and stays two items.
        self.assertEqual(
            outline[ALL], ("All Programs", ["Alpha Editor", "Shared Tool", "Shared Tool", "User App"])
        )
        self.assertEqual(
            outline[RECENT],
            ("Recent Programs", ["User App", "Alpha Editor", "Shared Tool", "Shared Tool"]),
        )
        self.assert_ends_at_once(self.choose_exit(window))


if __name__ == "__main__":
    e2e_case.main()
