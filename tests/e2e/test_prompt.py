"""The still-present prompt: the last uninstall command is still a listed program's command. It
comes once, however often the program is listed; "Yes" sends the user to the tools page and
ends the program without a menu, "No" lets the menu come."""

from __future__ import annotations

import time

import actions
import e2e_case
import harness
import regfile
from regfile import UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER, program

COMMAND = r"C:\Program Files\Foo Suite\unins000.exe"
STORED = r"c:\PROGRAM FILES\foo suite\UNINS000.EXE"  # the same command, ASCII case aside
NAME = 'Foo "Suite" 2.0'
TOOLS_PAGE = "https://www.quillon-software.com/tapwise-uninstaller/tools.php?ver=1.9"
PROMPT = (
    f'You tried to uninstall "{NAME}", but it still exists.\r\r'
    "Would you like to uninstall it using more powerful uninstaller?"
)


def catalogue(*roots: str) -> list[regfile.Key]:
    keys = [program(root, "FooSuite", DisplayName=NAME, UninstallString=COMMAND) for root in roots]
    keys.append(program(UNINSTALL_32, "Other", DisplayName="Other", UninstallString=r"C:\o.exe"))
    keys.append(regfile.Key(regfile.STATE_KEY, {"Last": STORED}))
    return keys


class PromptTest(e2e_case.E2ECase):
    def answer_no(self):
        box = self.app.wait_message_box(e2e_case.CAPTION)
        self.assertEqual(self.app.trace().popups, [], "the prompt comes before the menu")
        e2e_case.harness.send_keys(box, "n")
        e2e_case.harness.wait_until(
            lambda: box not in e2e_case.harness.visible_windows(name=e2e_case.CAPTION),
            timeout=5,
            what="the prompt to close",
        )

    def test_prompt_then_no_then_menu_and_auto_close(self):
        self.seed(catalogue(UNINSTALL_32))
        app = self.start()
        self.answer_no()

        menu = app.wait_menu()
        trace = app.trace()
        self.assertEqual(trace.message_boxes, [PROMPT])
        self.assertIsNone(self.prefix.reg_value(regfile.STATE_KEY, "Last"), "Last is deleted")

        self.assert_auto_closes(self.dismiss(menu))

    def test_one_prompt_however_often_the_program_is_listed(self):
        self.seed(catalogue(UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER))
        app = self.start()
        self.answer_no()

        menu = app.wait_menu()
        self.assertEqual(app.trace().message_boxes, [PROMPT])
        self.assert_ends_at_once(self.choose_exit(menu))

    def test_yes_opens_the_tools_page_once_and_ends_without_a_menu(self):
        browsers, browser_log = actions.logging_browser(self.prefix)
        self.seed(catalogue(UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER) + [browsers])
        app = self.start()
        box = app.wait_message_box(e2e_case.CAPTION)
        harness.send_keys(box, "Return")
        self.assert_ends_at_once(time.monotonic())
        self.assertEqual(app.trace().message_boxes, [PROMPT])
        self.assertEqual(app.trace().popups, [], "no menu after Yes")
        harness.wait_until(
            lambda: actions.read_lines(browser_log), actions.EXIT_SECONDS, "the tools page"
        )
        time.sleep(1)  # a second page would come as fast as the first
        pages = actions.read_lines(browser_log)
        self.assertEqual(len(pages), 1, pages)
        self.assertTrue(pages[0].endswith(TOOLS_PAGE), pages[0])


if __name__ == "__main__":
    e2e_case.main()
