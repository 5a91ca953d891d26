"""Shift+Enter on a program whose installer registered a quiet uninstall: one question, then
nothing while the uninstaller (a real NSIS one, which relaunches itself from the temporary
folder) runs, the result box only once the entry is gone, and then the end."""

from __future__ import annotations

import os

import actions
import e2e_case
import harness

QUIET_SCRIPT = os.path.join(actions.INSTALLERS_DIR, "quiet_app.nsi")
NAME = "Tapwise Quiet App"
KEY = rf"{actions.HKCU_UNINSTALL}\{NAME}"
CAPTION = "Tapwise Uninstaller"


class QuietTest(actions.ActionCase):
    def test_shift_enter_asks_once_waits_for_the_entry_to_go_then_says_so_and_ends(self):
        self.bring_desktop_up()
        package = actions.makensis(QUIET_SCRIPT, "quiet-app.exe", f"-DAPP_NAME={NAME}")
        actions.install(self.prefix, package, "/S")
        quiet = self.prefix.reg_value(KEY, "QuietUninstallString")
        self.assertRegex(quiet, r'^".*\\uninst\.exe" /S$')
        installed = os.path.dirname(actions.drive_c(self.prefix, quiet[1:].split('"')[0]))
        self.assertTrue(os.path.isfile(os.path.join(installed, "readme.txt")))

        self.start_again()
        self.choose("All Programs", NAME, enter="shift+Return")
        question = self.app.wait_message_box(CAPTION)
        self.assertIsNotNone(self.prefix.reg_value(KEY, "DisplayName"), "nothing ran yet")
        harness.send_keys(question, "y")
        harness.wait_until(
            lambda: question not in harness.visible_windows(name=CAPTION), 10, "the question to go"
        )

        result = self.app.wait_message_box(CAPTION, timeout=actions.REMOVAL_SECONDS)
        self.assertIsNone(self.prefix.reg_value(KEY, "DisplayName"), "the box came after the entry went")
        self.assertFalse(os.path.exists(installed))
        self.assertEqual(len(harness.visible_windows(name=CAPTION)), 1, "one box")
        self.assertTrue(self.app.running(), "the program waits for the box")
        harness.send_keys(result, "Return")
        self.app.wait_exit(timeout=actions.EXIT_SECONDS)
        self.assertIsNone(actions.last_command(self.prefix), "the box has said how it ended")


if __name__ == "__main__":
    e2e_case.main()
