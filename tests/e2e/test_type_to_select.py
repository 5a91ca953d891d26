"""Typing the first letters of a name into the program's menu under Wine: the generated
submenus select the first item whose name begins with the text, Backspace and a blank belong to
the text, Enter chooses what is selected as a click would, and past 3,000 programs the first
letter opens its group. All in one prefix, one start per choice.

Every planted program's uninstaller is a stand-in that logs its command line beside itself, so
a choice shows as exactly one new line in exactly one log."""

from __future__ import annotations

import os
import time

import actions
import e2e_case
import harness
from regfile import UNINSTALL_32, program

APPS_DIR = r"C:\Apps"
NAMES = (
    "Adobe Reader",
    "Skype",
    "Slack",
    "Spotify",
    "Steam",
    "VirtualBox 7",
    "Visual C++ 2015",
    "Visual Studio Code",
    "VLC media player",
)
PROCESS = r"C:\Tools\Zebra Tool.exe"
GROUPED = 3001  # programs past which "All Programs" holds one submenu per initial
KILL_SECONDS = 10
SETTLE = 0.5  # seconds for a key that would start something to have done so


def keys(text: str) -> list[str]:
    """xdotool's key names for typing text."""
    return ["space" if c == " " else c for c in text]


class TypeToSelectTest(actions.ActionCase):
    def setUp(self) -> None:
        super().setUp()
        self.bring_desktop_up()
        self.logs: dict[str, str] = {}
        entries = []
        for i, name in enumerate(NAMES):
            path = rf"{APPS_DIR}\app{i}\uninst.exe"
            actions.put_file(self.prefix, actions.helper_exe("dropped_program"), path)
            self.logs[name] = os.path.splitext(actions.drive_c(self.prefix, path))[0] + ".log"
            entries.append(
                program(UNINSTALL_32, f"App{i}", DisplayName=name, UninstallString=f'"{path}" /S')
            )
        self.seed(entries)
        self.chosen_last: str | None = None  # its entry stays: the next start asks about it

    def starts(self) -> dict[str, int]:
        return {name: len(actions.read_lines(log)) for name, log in self.logs.items()}

    def open_submenu(self, submenu: str) -> str:
        """Starts the program and opens a generated submenu with the keyboard; returns the menu
        window, which takes the keys."""
        app = self.start_again()
        if self.chosen_last is not None:
            self.answer_prompt_no(self.chosen_last)
        menu = app.wait_menu()
        trace = app.wait_popup(1)
        top = trace.popups[0].menu
        harness.send_keys(menu, *e2e_case.keys_to_open(trace.captions(top), submenu))
        app.wait_submenu_filled(trace.submenu_of(top, submenu))
        return menu

    def assert_typing_starts(self, typed: list[str], name: str) -> None:
        """Types into "All Programs", then Enter: exactly name's uninstaller starts, once."""
        before = self.starts()
        menu = self.open_submenu("All Programs")
        harness.send_keys(menu, *typed)
        time.sleep(SETTLE)
        self.assertEqual(self.starts(), before, "typing alone chooses nothing")
        self.assertTrue(self.app.running())
        harness.send_keys(menu, "Return")
        chosen = time.monotonic()
        expected = dict(before, **{name: before[name] + 1})
        harness.wait_until(
            lambda: self.starts() == expected, actions.REMOVAL_SECONDS, f"{name} to start"
        )
        self.assert_ends_at_once(chosen)
        self.chosen_last = name

    def test_typed_letters_select_and_enter_chooses(self):
        cases = (
            ("a prefix", keys("vir"), "VirtualBox 7"),
            ("the same letter walks its names", keys("sss"), "Spotify"),
            ("backspace selects again", [*keys("vis"), "BackSpace"], "VirtualBox 7"),
            ("a blank inside the text", keys("visual s"), "Visual Studio Code"),
            ("a blank after a letter", keys("sl "), "Slack"),
        )
        for title, typed, name in cases:
            with self.subTest(title):
                self.assert_typing_starts(typed, name)

        with self.subTest("Kill Process"):
            actions.replace_taskkill(self.prefix)
            process = actions.start_idle(self.prefix, PROCESS)
            self.addCleanup(actions.end_process, process)
            menu = self.open_submenu("Kill Process")
            self.chosen_last = None
            harness.send_keys(menu, *keys("zeb"), "Return")
            harness.wait_until(lambda: process.poll() is not None, KILL_SECONDS, "the kill")
            log = actions.read_lines(actions.drive_c(self.prefix, actions.TASKKILL_LOG))
            self.assertEqual(len(log), 1, log)
            self.assertTrue(log[0].endswith('/F /IM "Zebra Tool.exe" /T'), log[0])
            self.app.wait_exit(timeout=15)

        with self.subTest("letter groups"):
            self.seed(
                [
                    program(UNINSTALL_32, f"Filler{i}", DisplayName=f"Tool {100000 + i}",
                            UninstallString=r"C:\Fill\u.exe")
                    for i in range(GROUPED - len(NAMES))
                ]
            )
            # "v" opens the group V on its first item; the text goes on inside it.
            self.assert_typing_starts(keys("vis"), "Visual C++ 2015")
            self.assert_typing_starts(keys("vir"), "VirtualBox 7")


if __name__ == "__main__":
    e2e_case.main()
