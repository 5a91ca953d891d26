"""How the program ends: three seconds after the menu is dismissed, or at once on "Exit"."""

from __future__ import annotations

import e2e_case


class LifecycleTest(e2e_case.E2ECase):
    def test_dismissing_the_menu_ends_the_program_three_seconds_later(self):
        app = self.start()
        menu = app.wait_menu()
        dismissed = self.dismiss(menu)
        app.wait_menu_gone()
        self.assertTrue(app.running(), "the menu closed, but the program must wait")
        self.assert_auto_closes(dismissed)
        self.assertEqual(len(app.trace().popups), 1, "the menu is not shown again")

    def test_exit_ends_the_program_at_once(self):
        app = self.start()
        menu = app.wait_menu()
        self.assert_ends_at_once(self.choose_exit(menu))


if __name__ == "__main__":
    e2e_case.main()
