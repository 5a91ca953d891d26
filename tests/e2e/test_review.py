"""The review of what an uninstall left behind, with the program installed for everyone. After
Shift+Enter on Widget the result box offers it; "Remove checked" takes the user's certain items,
then the elevated instance's review takes the machine's, byte for byte into the stores, and
nothing of Gadget's, the shared folders or the user's documents. After a normal uninstall, the
next start's "Left behind" holds Widget, and its review follows; Escape keeps the record. Saves
the screenshots review-96dpi and review-144dpi when screenshots are asked for."""

from __future__ import annotations

import json
import os

import acme_case
import actions
import e2e_case
import harness
import product_menu

CAPTION = "Tapwise Uninstaller"
REVIEW = "Tapwise Uninstaller \\ Left behind by Widget"
WIDGET_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Widget"
MACHINE_STORE = r"C:\ProgramData\Quillon\Tapwise Uninstaller\Removed items"


class ReviewTest(acme_case.AcmeCase):
    def answer_box(self, key: str, timeout: float = 60) -> None:
        """Answers the one box of any instance of the program, and waits for it to go."""
        box = harness.wait_until(
            lambda: harness.visible_windows(name=CAPTION), timeout, "a box of the program"
        )[0]
        harness.send_keys(box, key)
        product_menu.wait_window_gone(box, CAPTION, timeout=30)

    def remove_checked(self, name: str | None = None) -> None:
        review = product_menu.wait_window(REVIEW, timeout=60)
        if name:
            product_menu.screenshot(name, self.prefix, REVIEW)
        # The list has the focus; the next stop is "Remove checked".
        harness.send_keys(review, "Tab", "Return")
        product_menu.wait_window_gone(review, REVIEW, timeout=30)

    def test_shift_enter_offers_the_review_whose_checked_items_go_into_the_stores(self):
        self.install_acme()
        installed = actions.drive_c(self.prefix, self.install_for_everyone())
        before = self.untouched()
        shortcut = self.hashes(self.start_menu())["Widget.lnk"]

        self.start_again(installed)
        self.choose("All Programs", "Widget", enter="shift+Return")
        self.answer_box("y")  # remove without its own questions
        self.answer_box("y", timeout=actions.REMOVAL_SECONDS + 60)  # it left 4 items: review
        self.remove_checked("review-96dpi")
        self.answer_box("Return")  # what was removed; the machine's items are next
        self.remove_checked()  # in the elevated instance
        self.answer_box("Return")
        self.app.wait_exit(timeout=actions.EXIT_SECONDS)
        harness.wait_until(
            lambda: not harness.visible_windows(name=REVIEW), 10, "the elevated instance to end"
        )

        self.assert_widgets_certain_items_gone_and_gadgets_kept()
        self.assertEqual(self.untouched(), before)
        self.assertIn(shortcut, self.hashes(MACHINE_STORE).values(), "the shortcut, byte for byte")
        user_store = self.variable("LOCALAPPDATA") + r"\Quillon\Tapwise Uninstaller\Removed items"
        self.assertTrue(any(name.endswith(".reg") for name in self.hashes(user_store)))

    def test_after_a_normal_uninstall_the_next_start_offers_what_it_left(self):
        self.prefix.set_dpi(144)
        self.install_acme()
        exe = e2e_case._options.exe
        code, said = self.prefix.run([harness.WINE, exe, "/uninstall", "HKLM32/Widget"])
        self.assertEqual(code, 0, said)
        program = self.variable("ProgramFiles(x86)") + r"\Acme\Widget\Widget.exe"
        actions.wait_uninstalled(self.prefix, WIDGET_KEY, actions.drive_c(self.prefix, program))

        self.start_again()
        self.choose("Left behind", "Widget\u2026")
        review = product_menu.wait_window(REVIEW, timeout=60)
        product_menu.screenshot("review-144dpi", self.prefix, REVIEW)
        harness.send_keys(review, "Escape")
        self.app.wait_exit(timeout=actions.EXIT_SECONDS)
        code, listed = self.prefix.run([harness.WINE, exe, "/leftovers"], timeout=120)
        self.assertEqual([record["name"] for record in json.loads(listed)], ["Widget"], "kept")


if __name__ == "__main__":
    e2e_case.main()
