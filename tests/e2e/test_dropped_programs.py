"""Programs named like the system's own (cmd.exe, taskkill.exe, msiexec.exe, rundll32.exe),
dropped beside a copy of the program, as a web page may drop them into a downloads folder, and
into its current directory, never run in their place: an uninstaller, a Windows Installer
uninstall (named with or without ".exe"), a rundll32 command and a kill each start the
registered or the system's program."""

from __future__ import annotations

import os

import actions
import e2e_case
import harness
from regfile import UNINSTALL_32, ExpandSz, program

DOWNLOADS = r"C:\users\Public\Downloads"
DROPPED = ["cmd.exe", "taskkill.exe", "msiexec.exe", "rundll32.exe"]

STANDIN_DIR = r"C:\tapwise test"
STANDIN = rf"{STANDIN_DIR}\standin_uninstaller.exe"
STANDIN_LOG = rf"{STANDIN_DIR}\log.txt"
STANDIN_COMMAND = rf'"{STANDIN}" /S --log "{STANDIN_LOG}"'

MSI_PRODUCT = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}"  # the Product Id of installers/msi_app.wxs
MSI_NAME = "Tapwise Msi App"
MSI_FILE = r"C:\Program Files (x86)\Tapwise Msi App\readme.txt"

# The system's rundll32 as a 32-bit program finds it, replaced by a double that logs beside it.
RUNDLL32 = r"windows\syswow64\rundll32.exe"
RUNDLL32_LOG = r"C:\windows\syswow64\rundll32.log"
BEEP = "rundll32.exe user32.dll,MessageBeep"
SYSTEM32 = r"C:\windows\system32"  # as a 32-bit program is told it

PROCESS = "Dropped Target.exe"
KILL_SECONDS = 10


class DroppedProgramsTest(actions.ActionCase):
    def setUp(self) -> None:
        super().setUp()
        self.bring_desktop_up()
        name = os.path.basename(e2e_case._options.exe)
        self.copy = actions.put_file(self.prefix, e2e_case._options.exe, rf"{DOWNLOADS}\{name}")

    def drop_programs(self) -> None:
        """Drops the logging doubles beside the copy and into the directory it starts in. Done
        last: the test's own Wine commands would find them in their current directory too."""
        directories = [os.path.dirname(self.copy), self.prefix.workdir]
        self.dropped_logs = actions.drop_doubles(directories, DROPPED)

    def assert_no_dropped_program_ran(self) -> None:
        self.assertEqual(actions.doubles_that_ran(self.dropped_logs), {})

    def test_uninstall_runs_the_registered_program_and_no_dropped_one(self):
        actions.put_file(self.prefix, actions.helper_exe("standin_uninstaller"), STANDIN)
        entry = program(
            UNINSTALL_32, "Standin", DisplayName="Standin App", UninstallString=STANDIN_COMMAND
        )
        self.seed([entry])
        self.drop_programs()
        self.start_again(self.copy)
        self.assert_ends_at_once(self.choose("All Programs", "Standin App"))
        log = actions.drive_c(self.prefix, STANDIN_LOG)
        lines = harness.wait_until(
            lambda: actions.read_lines(log), actions.REMOVAL_SECONDS, "the stand-in's log"
        )
        self.assertEqual(lines, [STANDIN_COMMAND])
        self.assert_no_dropped_program_ran()

    def test_windows_installer_uninstall_runs_the_systems_msiexec(self):
        actions.install(
            self.prefix, "msiexec", "/i", harness.windows_path(actions.msi_package()), "/qn"
        )
        key = rf"{actions.HKLM_UNINSTALL}\{MSI_PRODUCT}"
        command = self.prefix.reg_value(key, "UninstallString")
        self.assertEqual(command, f"MsiExec.exe /X{MSI_PRODUCT}", "a program without a directory")
        self.drop_programs()
        self.start_again(self.copy)
        self.assert_ends_at_once(self.choose("All Programs", MSI_NAME))
        actions.wait_uninstalled(self.prefix, key, actions.drive_c(self.prefix, MSI_FILE))
        self.assert_no_dropped_program_ran()

    def test_windows_installer_named_without_exe_runs_the_systems_msiexec(self):
        actions.install(
            self.prefix, "msiexec", "/i", harness.windows_path(actions.msi_package()), "/qn"
        )
        key = rf"{actions.HKLM_UNINSTALL}\{MSI_PRODUCT}"
        # As an installer might register it: a Windows Installer command without ".exe".
        command = ExpandSz(f"MsiExec /X{MSI_PRODUCT}")
        self.seed([program(UNINSTALL_32, MSI_PRODUCT, UninstallString=command)])
        self.drop_programs()
        self.start_again(self.copy)
        self.assert_ends_at_once(self.choose("All Programs", MSI_NAME))
        actions.wait_uninstalled(self.prefix, key, actions.drive_c(self.prefix, MSI_FILE))
        self.assert_no_dropped_program_ran()

    def test_rundll32_command_runs_the_systems_rundll32(self):
        self.prefix.replace_file(RUNDLL32, actions.helper_exe("dropped_program"))
        self.seed([program(UNINSTALL_32, "Beep", DisplayName="Beep", UninstallString=BEEP)])
        self.drop_programs()
        self.start_again(self.copy)
        self.assert_ends_at_once(self.choose("All Programs", "Beep"))
        log = actions.drive_c(self.prefix, RUNDLL32_LOG)
        lines = harness.wait_until(
            lambda: actions.read_lines(log), actions.REMOVAL_SECONDS, "the system's rundll32"
        )
        self.assertEqual(lines, [rf'"{SYSTEM32}\rundll32.exe" user32.dll,MessageBeep'])
        self.assert_no_dropped_program_ran()

    def test_kill_runs_the_systems_taskkill(self):
        actions.replace_taskkill(self.prefix)
        target = actions.start_idle(self.prefix, rf"C:\tapwise procs\{PROCESS}")
        self.addCleanup(actions.end_process, target)
        self.drop_programs()
        self.start_again(self.copy)
        chosen = self.choose("Kill Process", PROCESS)
        harness.wait_until(lambda: target.poll() is not None, KILL_SECONDS, f"{PROCESS} to end")
        log = actions.read_lines(actions.drive_c(self.prefix, actions.TASKKILL_LOG))
        self.assertEqual(len(log), 1, log)
        self.assertTrue(log[0].endswith(f'/F /IM "{PROCESS}" /T'), log[0])
        self.assert_auto_closes(chosen)
        self.assert_no_dropped_program_ran()


if __name__ == "__main__":
    e2e_case.main()
