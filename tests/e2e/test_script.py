"""The command line for scripts, as a script runs it: /list holds what the menu shows, in its
order, through a pipe, into a file and from the console companion under cmd; a real NSIS
package goes with /uninstall ID /quiet; an id that names nothing ends with its own code."""

from __future__ import annotations

import json
import os
import subprocess

import actions
import e2e_case
import harness
import regfile
from regfile import UNINSTALL_32, UNINSTALL_64, program
from test_menu import ALL, CATALOGUE

COMPANION = "TapwiseUninstaller.com"
LIST_SECONDS = 60
NO_SUCH_ID = 3
STILL_LISTED = 5
QUIET_SCRIPT = os.path.join(actions.INSTALLERS_DIR, "quiet_app.nsi")
QUIET_NAME = "Tapwise Quiet App"
QUIET_KEY = rf"{actions.HKCU_UNINSTALL}\{QUIET_NAME}"


# What Windows' own list hides, each kind once: only /all lists them.
HIDDEN = {
    "Part of the System": program(UNINSTALL_64, "Part", DisplayName="Part of the System",
                               SystemComponent=regfile.Dword(1), UninstallString=r"C:\P\u.exe"),
    "An Update": program(UNINSTALL_32, "KB1", DisplayName="An Update",
                         ParentKeyName="Alpha", UninstallString=r"C:\K\u.exe"),
    "Security Update": program(UNINSTALL_32, "KB2", DisplayName="Security Update",
                               ReleaseType="Security Update", UninstallString=r"C:\K\u.exe"),
}


class ScriptTest(actions.ActionCase):
    def piped(self, *command: str) -> tuple[int, str, str]:
        """Runs a Windows command, its standard output a pipe: (exit code, output, error).
        The desktop is up first, so that no Wine daemon starts on the way and holds the pipe."""
        error_path = self.prefix.file("stderr.txt")
        with open(error_path, "wb") as error:
            process = subprocess.Popen(
                [harness.WINE, *command],
                env=self.prefix.env(),
                stdin=subprocess.DEVNULL,
                stdout=subprocess.PIPE,
                stderr=error,
                cwd=self.prefix.workdir,
            )
            output, _ = process.communicate(timeout=LIST_SECONDS)
        with open(error_path, encoding="utf-8") as error:
            return process.returncode, output.decode("utf-8"), error.read()

    def menu_programs(self) -> list[str]:
        """"All Programs" as the menu shows it, names as written; the program ends then."""
        self.start_again()
        window = self.app.wait_menu()
        trace = self.open_submenus(window)
        _, captions = trace.outline(trace.popups[0].menu)[ALL]
        self.assert_ends_at_once(self.choose_exit(window))
        return [caption.replace("&&", "&") for caption in captions]

    def test_the_list_holds_the_menus_programs_in_its_order_wherever_it_goes(self):
        self.seed(CATALOGUE + list(HIDDEN.values()))
        self.bring_desktop_up()
        code, piped, error = self.piped(e2e_case._options.exe, "/list")
        self.assertEqual((code, error), (0, ""))
        self.assertEqual([p["name"] for p in json.loads(piped)], self.menu_programs())
        _, every, _ = self.piped(e2e_case._options.exe, "/list", "/all")
        named = [p["name"] for p in json.loads(every)]
        self.assertEqual(sorted(set(named) - set(p["name"] for p in json.loads(piped))),
                         sorted(HIDDEN))

        folder = actions.drive_c(self.prefix, r"C:\lists")
        os.makedirs(folder)
        code, _, error = self.piped(e2e_case._options.exe, "/list", r"C:\lists\programs.json")
        self.assertEqual((code, error), (0, ""))
        with open(os.path.join(folder, "programs.json"), encoding="ascii") as written:
            self.assertEqual(written.read(), piped)
        self.assertEqual(os.listdir(folder), ["programs.json"], "no temporary file left")

        companion = os.path.join(os.path.dirname(e2e_case._options.exe), COMPANION)
        code, console, error = self.piped("cmd", "/c", harness.windows_path(companion), "/list")
        self.assertEqual((code, error), (0, ""))
        self.assertEqual(json.loads(console), json.loads(piped))

    def test_a_real_package_goes_quietly_by_its_id_and_an_unknown_id_ends_with_its_code(self):
        self.bring_desktop_up()
        package = actions.makensis(QUIET_SCRIPT, "quiet-app.exe", f"-DAPP_NAME={QUIET_NAME}")
        actions.install(self.prefix, package, "/S")
        code, listed, _ = self.piped(e2e_case._options.exe, "/list")
        self.assertEqual(code, 0)
        (entry,) = [p for p in json.loads(listed) if p["name"] == QUIET_NAME]
        self.assertEqual((entry["scope"], entry["quiet"], entry["orphaned"]), ("user", True, False))

        uninstall = (e2e_case._options.exe, "/uninstall", entry["id"], "/quiet")
        self.assertEqual(self.piped(*uninstall), (0, "", ""))
        self.assertIsNone(self.prefix.reg_value(QUIET_KEY, "DisplayName"), "gone when it ends")
        self.assertEqual(harness.visible_windows(name=e2e_case.CAPTION), [], "nothing shown")
        self.assertIsNone(actions.last_command(self.prefix), "nothing remembered")

        no_such_id = f'Tapwise Uninstaller: no program has the id "{entry["id"]}".\n'
        self.assertEqual(self.piped(*uninstall), (NO_SUCH_ID, "", no_such_id))

    def test_an_uninstaller_that_fails_and_leaves_its_entry_ends_with_its_code(self):
        self.bring_desktop_up()
        name = "Tapwise Failing App"
        package = actions.makensis(QUIET_SCRIPT, "failing-app.exe", f"-DAPP_NAME={name}", "-DFAILS")
        actions.install(self.prefix, package, "/S")
        code, listed, _ = self.piped(e2e_case._options.exe, "/list")
        (entry,) = [p for p in json.loads(listed) if p["name"] == name]
        code, output, error = self.piped(e2e_case._options.exe, "/uninstall", entry["id"], "/quiet")
        self.assertEqual((code, output), (STILL_LISTED, ""))
        self.assertIn("3", error, "the uninstaller's own code is told")
        self.assertIsNotNone(self.prefix.reg_value(rf"{actions.HKCU_UNINSTALL}\{name}", "DisplayName"))


if __name__ == "__main__":
    e2e_case.main()
