"""The program on a screen of 144 dpi (150 %): the menu still pops up at the cursor, and the
options dialog is its 96-dpi design scaled, centred, with room for its caption. Saves the
screenshot options-dialog-144dpi when screenshots are asked for."""

from __future__ import annotations

import e2e_case
import harness
import product_menu
from product_menu import OPTIONS_CAPTION
from regfile import UNINSTALL_32, program

DPI = 144
DESIGN_CLIENT = (305, 145)  # the dialog's client area at 96 dpi
# What Wine's frame adds to the client area at 144 dpi: borders, and the caption in height.
FRAME_WIDTH = (2, 20)
FRAME_HEIGHT = (20, 60)

CATALOGUE = [
    program(
        UNINSTALL_32,
        "Alpha",
        DisplayName="Alpha Editor",
        InstallDate="20230105",
        UninstallString=r"C:\Alpha\uninstall.exe",
    )
]


def _scaled(length: int) -> int:
    return round(length * DPI / 96)


class HighDpiTest(e2e_case.E2ECase):
    def test_menu_at_the_cursor_and_the_options_dialog_scaled(self):
        self.prefix.set_dpi(DPI)
        self.seed(CATALOGUE)
        app = self.start()
        menu = app.wait_menu()
        popup = app.wait_popup(1).popups[0]
        self.assertEqual((popup.x, popup.y), e2e_case.POINT, "popped up at the cursor")
        self.assertEqual(harness.window_geometry(menu)[:2], e2e_case.POINT, "shown at the cursor")

        product_menu.choose(menu, "Options...")
        dialog = product_menu.wait_window(OPTIONS_CAPTION)
        x, y, width, height = harness.window_geometry(dialog)
        client_width, client_height = (_scaled(length) for length in DESIGN_CLIENT)
        self.assertTrue(
            FRAME_WIDTH[0] <= width - client_width <= FRAME_WIDTH[1], f"{width} wide at {DPI} dpi"
        )
        self.assertTrue(
            FRAME_HEIGHT[0] <= height - client_height <= FRAME_HEIGHT[1],
            f"{height} high at {DPI} dpi",
        )
        screen_width, screen_height = product_menu.display_size()
        self.assertAlmostEqual(x, (screen_width - width) / 2, delta=1, msg="centred")
        self.assertAlmostEqual(y, (screen_height - height) / 2, delta=1, msg="centred")
        product_menu.screenshot(f"options-dialog-{DPI}dpi", self.prefix, OPTIONS_CAPTION)

        harness.send_keys(dialog, "alt+F4")
        product_menu.wait_window_gone(dialog, OPTIONS_CAPTION)
        popup = app.wait_popup(2).popups[1]
        self.assertEqual((popup.x, popup.y), e2e_case.POINT, "back at the cursor")
        self.assert_auto_closes(self.dismiss(app.wait_menu()))


if __name__ == "__main__":
    e2e_case.main()
