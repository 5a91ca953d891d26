"""Choosing a program: its own uninstall command runs, the program ends at once, and the command
is remembered for the next start. Real NSIS and Windows Installer packages are installed and
removed; a stand-in uninstaller records the exact command line that reached it."""

from __future__ import annotations

import dataclasses
import os
import time

import actions
import e2e_case
import harness
import product_menu
import regfile
from regfile import UNINSTALL_32, UNINSTALL_USER, program

MSI_PRODUCT = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}"  # the Product Id of installers/msi_app.wxs
MSI_FILE = r"C:\Program Files (x86)\Tapwise Msi App\readme.txt"

STANDIN_DIR = r"C:\tapwise test"
STANDIN = rf"{STANDIN_DIR}\standin_uninstaller.exe"
STANDIN_LOG = rf"{STANDIN_DIR}\log.txt"
# The stand-in copied under the Windows Installer's name: it logs beside itself.
MSI_STANDIN = rf"{STANDIN_DIR}\MsiExec.exe"
MSI_STANDIN_LOG = rf"{STANDIN_DIR}\MsiExec.log"

NOTICE = "Tapwise Uninstaller cannot uninstall this program. Please try another tool."
TOOLS_PAGE = "/tapwise-uninstaller/tools.php?ver=1.9"
NOTICE_OUTLASTS_AUTO_CLOSE = 4.0  # seconds after the choice; the auto-close comes at 3


@dataclasses.dataclass
class StandinCase:
    name: str
    values: dict[str, object]
    command: str  # what must be remembered, exactly
    log: str = STANDIN_LOG
    received: str | None = None  # what must reach the stand-in, when not the command itself

    @property
    def command_line(self) -> str:
        return self.command if self.received is None else self.received


QUOTED_WITH_SWITCHES = StandinCase(
    "Standin App",
    {"UninstallString": rf'"{STANDIN}" /S --log "{STANDIN_LOG}"'},
    rf'"{STANDIN}" /S --log "{STANDIN_LOG}"',
)
QUIET_ONLY = StandinCase(
    "Quiet App",
    {"QuietUninstallString": rf'"{STANDIN}" /quiet --log "{STANDIN_LOG}"'},
    rf'"{STANDIN}" /quiet --log "{STANDIN_LOG}"',
)
AMPERSAND = StandinCase(
    "AT&T Connect",
    {"UninstallString": rf'"{STANDIN}" /att --log "{STANDIN_LOG}"'},
    rf'"{STANDIN}" /att --log "{STANDIN_LOG}"',
)
# Unquoted, with a blank in its path: the command interpreter would run nothing, so only a direct
# start reaches the stand-in. Wine's CreateProcess, having found the program among the blanks,
# hands it a command line with that path quoted (Windows would pass it unchanged).
MSIEXEC_DIRECT = StandinCase(
    "Msi Standin",
    {"UninstallString": regfile.ExpandSz(rf"{MSI_STANDIN} /X{MSI_PRODUCT}")},
    rf"{MSI_STANDIN} /X{MSI_PRODUCT}",
    log=MSI_STANDIN_LOG,
    received=rf'"{MSI_STANDIN}" /X{MSI_PRODUCT}',
)
STANDIN_CASES = [QUOTED_WITH_SWITCHES, QUIET_ONLY, AMPERSAND, MSIEXEC_DIRECT]

# Entries that must not run when another is chosen; they log too, so a wrong choice shows. One is
# named as the "&" entry reads without its access-key mark; one sorts first and has a command that
# contains the other names.
DECOYS = [
    program(
        UNINSTALL_32,
        "ATT",
        DisplayName="ATT Connect",
        UninstallString=rf'"{STANDIN}" /decoy --log "{STANDIN_LOG}"',
    ),
    program(
        UNINSTALL_USER,
        "Decoy",
        DisplayName="AAA Decoy",
        UninstallString=rf'"{STANDIN}" /decoy Standin App Quiet App AT --log "{STANDIN_LOG}"',
    ),
]


class NsisTest(actions.ActionCase):
    """Installed silently, chosen in "All Programs", confirmed in its own window, removed."""

    def uninstall(self, per_user: bool, name: str, root: str) -> None:
        actions.install(self.prefix, actions.nsis_installer(per_user), "/S")
        key = rf"{root}\{name}"
        command = self.prefix.reg_value(key, "UninstallString")
        self.assertRegex(command, r'^".* .*\\uninst\.exe"$', "a quoted path with blanks")
        install_dir = os.path.dirname(actions.drive_c(self.prefix, command.strip('"')))
        self.assertTrue(os.path.isfile(os.path.join(install_dir, "readme.txt")))

        self.start()
        self.assert_ends_at_once(self.choose("All Programs", name))
        self.assert_last(command)

        # NSIS captions a page "<caption>: <page>".
        confirmation = self.app.wait_message_box(f"{name} Removal: Confirmation")
        harness.send_keys(confirmation, "Return")
        actions.wait_uninstalled(self.prefix, key, install_dir)

        self.start_again()
        self.assert_no_prompt_then_exit()
        self.assert_last_consumed()

    def test_per_machine_installer(self):
        self.uninstall(False, "Tapwise Test App", actions.HKLM_UNINSTALL)

    def test_per_user_installer(self):
        self.uninstall(True, "Tapwise User App", actions.HKCU_UNINSTALL)


class MsiTest(actions.ActionCase):
    def test_package_chosen_in_recent_programs_is_removed_by_its_own_msiexec_command(self):
        actions.install(
            self.prefix, "msiexec", "/i", harness.windows_path(actions.msi_package()), "/qn"
        )
        key = rf"{actions.HKLM_UNINSTALL}\{MSI_PRODUCT}"
        command = self.prefix.reg_value(key, "UninstallString")
        self.assertEqual(command, f"MsiExec.exe /X{MSI_PRODUCT}")
        installed = actions.drive_c(self.prefix, MSI_FILE)
        self.assertTrue(os.path.isfile(installed))

        self.start()
        self.assert_ends_at_once(self.choose("Recent Programs", "Tapwise Msi App"))
        self.assert_last(command)
        actions.wait_uninstalled(self.prefix, key, installed)

    def test_package_without_a_command_is_removed_by_msiexec_with_its_code(self):
        actions.install(
            self.prefix, "msiexec", "/i", harness.windows_path(actions.msi_package()), "/qn"
        )
        key = rf"{actions.HKLM_UNINSTALL}\{MSI_PRODUCT}"
        self.prefix.run([harness.WINE, "reg", "delete", key, "/v", "UninstallString", "/f"])
        self.assertIsNone(self.prefix.reg_value(key, "UninstallString"))
        installed = actions.drive_c(self.prefix, MSI_FILE)

        self.start()
        self.assert_ends_at_once(self.choose("All Programs", "Tapwise Msi App"))
        self.assert_last(f"MsiExec.exe /X{MSI_PRODUCT}")
        actions.wait_uninstalled(self.prefix, key, installed)


class StandinTest(actions.ActionCase):
    """Entries whose commands run the stand-in, which logs the command line it receives."""

    def setUp(self) -> None:
        super().setUp()
        standin = actions.helper_exe("standin_uninstaller")
        actions.put_file(self.prefix, standin, STANDIN)
        actions.put_file(self.prefix, standin, MSI_STANDIN)
        entries = [
            program(UNINSTALL_32, f"Case{i}", DisplayName=case.name, **case.values)
            for i, case in enumerate(STANDIN_CASES)
        ]
        self.seed(entries + DECOYS)

    def run_only_its_own_command(self, case: StandinCase) -> None:
        """Choosing the entry runs its command exactly, and nothing else; the program ends at
        once and remembers the command; the next start says the program is still there."""
        self.start()
        self.assert_ends_at_once(self.choose("All Programs", case.name))
        self.assert_last(case.command)
        log = actions.drive_c(self.prefix, case.log)
        lines = harness.wait_until(
            lambda: actions.read_lines(log), actions.REMOVAL_SECONDS, "the stand-in's log"
        )
        self.assertEqual(lines, [case.command_line])

        self.start_again()
        self.answer_prompt_no(case.name)
        self.assert_ends_at_once(self.choose_exit(self.app.wait_menu()))
        self.assert_last_consumed()
        other_log = MSI_STANDIN_LOG if case.log == STANDIN_LOG else STANDIN_LOG
        self.assertEqual(actions.read_lines(actions.drive_c(self.prefix, other_log)), [])

    def test_quoted_path_with_switches_reaches_the_uninstaller_whole(self):
        self.run_only_its_own_command(QUOTED_WITH_SWITCHES)

    def test_quiet_command_when_there_is_no_uninstall_string(self):
        self.run_only_its_own_command(QUIET_ONLY)

    def test_name_with_an_ampersand_runs_its_own_command(self):
        self.run_only_its_own_command(AMPERSAND)

    def test_msiexec_command_is_started_directly_as_written(self):
        self.run_only_its_own_command(MSIEXEC_DIRECT)


class NoCommandTest(actions.ActionCase):
    def test_notice_then_tools_page_then_the_end(self):
        browsers, browser_log = actions.logging_browser(self.prefix)
        self.seed([program(UNINSTALL_32, "Bare", DisplayName="Bare App"), browsers])
        app = self.start()
        # Windows' list leaves out an entry with nothing to run: the user asks for it first.
        product_menu.choose(app.wait_menu(), "Options...")
        dialog = product_menu.wait_window(product_menu.OPTIONS_CAPTION)
        harness.send_keys(dialog, "Tab", "Tab", "space", "Tab", "Return")
        product_menu.wait_window_gone(dialog, product_menu.OPTIONS_CAPTION)
        chosen = self.choose("All Programs", "Bare App", popup=2)

        box = self.app.wait_message_box(e2e_case.CAPTION)
        self.assertEqual(self.app.trace().message_boxes, [NOTICE])
        self.assertIsNone(actions.last_command(self.prefix), "nothing started, nothing to ask after")
        # Past the auto-close's time: the notice keeps the program up until it is answered.
        time.sleep(max(0.0, chosen + NOTICE_OUTLASTS_AUTO_CLOSE - time.monotonic()))
        self.assertTrue(self.app.running(), "the notice waits for the user")
        harness.send_keys(box, "Return")
        self.assert_ends_at_once(time.monotonic())

        pages = harness.wait_until(
            lambda: actions.read_lines(browser_log), actions.EXIT_SECONDS, "the tools page"
        )
        self.assertEqual(len(pages), 1)
        self.assertTrue(pages[0].endswith(TOOLS_PAGE), pages[0])


if __name__ == "__main__":
    e2e_case.main()
