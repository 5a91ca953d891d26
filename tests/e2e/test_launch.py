"""Commands that other people registered start exactly the program they name: characters that a
command interpreter would read as its own syntax stay the path's, a 64-bit entry's variables are
the 64-bit ones, and a program that is not there is named in a box instead of failing in silence.
Logging doubles lie beside a copy of the program and in its current folder, and never run."""

from __future__ import annotations

import os
import time

import actions
import e2e_case
import harness
from regfile import UNINSTALL_32, UNINSTALL_64, ExpandSz, program

DOWNLOADS = r"C:\users\Public\Downloads"

# Unquoted, with "&" in a folder: a command interpreter would run "C:\Tools\AT" and then
# "T\uninst.exe /S", found relative to its current folder.
AMPERSAND_DIR = r"C:\Tools\AT&T"
AMPERSAND_COMMAND = rf"{AMPERSAND_DIR}\uninst.exe /S"
AMPERSAND_DOUBLES = [r"T\uninst.exe", "uninst.exe"]

# The same uninstaller's name in both program folders; only the 64-bit one is the entry's.
VENDOR_64 = r"C:\Program Files\Tapwise Vendor"
VENDOR_32 = r"C:\Program Files (x86)\Tapwise Vendor"
EXPANDED_COMMAND = ExpandSz(r'"%ProgramFiles%\Tapwise Vendor\uninst.exe" /S')

GONE = r"C:\Gone\uninst.exe"
MISSING_TEXT = (
    f'Tapwise Uninstaller cannot find the uninstaller of "Gone App":\r\r{GONE}\r\r'
    "The program may have been removed already.\r\r"
    'Remove "Gone App" from the list of programs? A copy of its entry is saved first.'
)
BOX_OUTLASTS_AUTO_CLOSE = 4.0  # seconds after the choice; the auto-close comes at 3


class LaunchTest(actions.ActionCase):
    def setUp(self) -> None:
        super().setUp()
        self.bring_desktop_up()
        name = os.path.basename(e2e_case._options.exe)
        self.copy = actions.put_file(self.prefix, e2e_case._options.exe, rf"{DOWNLOADS}\{name}")

    def put_standin(self, windows_path: str) -> str:
        """A stand-in uninstaller that logs its command line beside itself; returns the log."""
        actions.put_file(self.prefix, actions.helper_exe("dropped_program"), windows_path)
        return os.path.splitext(actions.drive_c(self.prefix, windows_path))[0] + ".log"

    def drop(self, names: list[str]) -> list[str]:
        """Doubles beside the copy and in the folder it starts in; done last, since the test's
        own Wine commands would find them in their current folder too."""
        return actions.drop_doubles([os.path.dirname(self.copy), self.prefix.workdir], names)

    def run_choice(self, name: str) -> None:
        self.start_again(self.copy)
        self.assert_ends_at_once(self.choose("All Programs", name))

    def assert_ran(self, log: str, command_line: str) -> None:
        lines = harness.wait_until(
            lambda: actions.read_lines(log), actions.REMOVAL_SECONDS, f"{log} to be written"
        )
        self.assertEqual(lines, [command_line])

    def test_an_ampersand_in_an_unquoted_path_is_part_of_the_path(self):
        log = self.put_standin(rf"{AMPERSAND_DIR}\uninst.exe")
        self.seed([program(UNINSTALL_32, "Att", DisplayName="AT&T Tools",
                           UninstallString=AMPERSAND_COMMAND)])
        doubles = self.drop(AMPERSAND_DOUBLES)
        self.run_choice("AT&T Tools")
        self.assert_ran(log, rf'"{AMPERSAND_DIR}\uninst.exe" /S')
        self.assertEqual(actions.doubles_that_ran(doubles), {})
        self.assert_last(AMPERSAND_COMMAND)

    def test_a_64_bit_entry_expands_to_the_64_bit_program_folder(self):
        log_64 = self.put_standin(rf"{VENDOR_64}\uninst.exe")
        log_32 = self.put_standin(rf"{VENDOR_32}\uninst.exe")
        self.seed([program(UNINSTALL_64, "Vendor", DisplayName="Tapwise Vendor",
                           UninstallString=EXPANDED_COMMAND)])
        doubles = self.drop(["uninst.exe"])
        self.run_choice("Tapwise Vendor")
        self.assert_ran(log_64, rf'"{VENDOR_64}\uninst.exe" /S')
        self.assertEqual(actions.read_lines(log_32), [], "the 32-bit folder's program")
        self.assertEqual(actions.doubles_that_ran(doubles), {})
        self.assert_last(str(EXPANDED_COMMAND))

    def test_a_missing_uninstaller_is_named_in_a_box_then_the_program_ends(self):
        self.seed([program(UNINSTALL_32, "Gone", DisplayName="Gone App",
                           UninstallString=f'"{GONE}" /S')])
        doubles = self.drop(["uninst.exe"])
        self.start_again(self.copy)
        chosen = self.choose("All Programs", "Gone App")
        box = self.app.wait_message_box(e2e_case.CAPTION)
        self.assertEqual(self.app.trace().message_boxes, [MISSING_TEXT])
        self.assertIsNone(actions.last_command(self.prefix), "nothing started, nothing to ask after")
        # Past the auto-close's time: the box keeps the program up until it is answered.
        time.sleep(max(0.0, chosen + BOX_OUTLASTS_AUTO_CLOSE - time.monotonic()))
        self.assertTrue(self.app.running(), "the box waits for the user")
        harness.send_keys(box, "Return")  # No, the default: the entry stays
        self.assert_ends_at_once(time.monotonic())
        self.assertEqual(self.prefix.reg_value(rf"{UNINSTALL_32}\Gone", "DisplayName"), "Gone App")
        self.assertEqual(actions.doubles_that_ran(doubles), {})


if __name__ == "__main__":
    e2e_case.main()
