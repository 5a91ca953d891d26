"""The About box: its text, and the menu that comes back however long the box stays open."""

from __future__ import annotations

import time

import e2e_case
import harness
import product_menu

ABOUT_TEXT = "\r\n".join(
    [
        "Tapwise Uninstaller v1.9",
        "",
        "Copyright (C) 2009-2026 Quillon Software",
        "",
        "https://www.quillon-software.com",
    ]
)
OPEN_FOR = 4.5  # seconds the box stays open: longer than one period of the auto-close timer


class AboutTest(e2e_case.E2ECase):
    def test_box_shows_the_text_and_the_menu_comes_back_after_a_long_wait(self):
        app = self.start()
        menu = app.wait_menu()
        first = app.wait_popup(1)
        before = first.outline(first.popups[0].menu)

        chosen = product_menu.choose(menu, "About...")
        box = app.wait_message_box(product_menu.ABOUT_CAPTION)
        self.assertEqual(app.trace().message_boxes, [ABOUT_TEXT])

        time.sleep(max(0.0, chosen + OPEN_FOR - time.monotonic()))
        self.assertTrue(app.running(), "the program must not end while the box is open")
        self.assertEqual(len(app.trace().popups), 1)

        harness.send_keys(box, "Return")
        product_menu.wait_window_gone(box, product_menu.ABOUT_CAPTION)
        again = app.wait_popup(2)
        popup = again.popups[1]
        self.assertEqual(again.outline(popup.menu), before, "the same menu comes back")
        self.assertEqual((popup.x, popup.y), e2e_case.POINT)

        self.assert_auto_closes(self.dismiss(app.wait_menu()))


if __name__ == "__main__":
    e2e_case.main()
