"""Choosing a process in "Kill Process": taskkill runs for exactly that image name, every process
of that name ends and no other, and the program then ends by its auto-close, not at once.

Wine 8's taskkill rejects /T, so the prefix's 32-bit taskkill.exe is replaced with a double that
logs its command line and ends the processes as taskkill would."""

from __future__ import annotations

import actions
import e2e_case
import harness

PROCESS_DIR = r"C:\tapwise procs"
NAMES = ("My Tool.exe", "A&B.exe", "AB.exe")
KILL_SECONDS = 10

# Each run chooses one name; the names chosen in earlier runs are gone by then.
RUNS = (
    ("A&B.exe", ("My Tool.exe", "AB.exe")),
    ("My Tool.exe", ("AB.exe",)),
)


def arguments_after_program(command_line: str) -> tuple[str, str]:
    """Splits a command line into its program (quotes removed) and the text after the blank
    that follows it."""
    if command_line.startswith('"'):
        program, _, rest = command_line[1:].partition('"')
        return program, rest[1:] if rest.startswith(" ") else rest
    program, _, rest = command_line.partition(" ")
    return program, rest


class KillTest(actions.ActionCase):
    def setUp(self) -> None:
        super().setUp()
        self.bring_desktop_up()
        actions.replace_taskkill(self.prefix)
        self.processes = {name: self.start_idle(name) for name in NAMES}

    def start_idle(self, name: str):
        process = actions.start_idle(self.prefix, rf"{PROCESS_DIR}\{name}")
        self.addCleanup(actions.end_process, process)
        return process

    def running(self) -> set[str]:
        return {name for name, process in self.processes.items() if process.poll() is None}

    def test_each_chosen_name_ends_its_processes_and_no_other(self):
        for run, (name, survivors) in enumerate(RUNS):
            with self.subTest(name=name):
                app = self.start_again()
                trace = self.open_submenus(app.wait_menu())
                listed = trace.captions(trace.submenu_of(trace.popups[0].menu, "Kill Process"))
                for process in NAMES:
                    expected = 1 if process in self.running() else 0
                    caption = actions.menu_caption(process)
                    self.assertEqual(listed.count(caption), expected, f"{caption} in {listed}")

                chosen = self.choose("Kill Process", name)
                harness.wait_until(
                    lambda: self.processes[name].poll() is not None, KILL_SECONDS, f"{name} to end"
                )
                self.assertEqual(self.running(), set(survivors))

                log = actions.read_lines(actions.drive_c(self.prefix, actions.TASKKILL_LOG))
                self.assertEqual(len(log), run + 1, f"one taskkill per choice: {log}")
                program, arguments = arguments_after_program(log[-1])
                self.assertTrue(program.lower().endswith("\\taskkill.exe"), program)
                self.assertEqual(arguments, f'/F /IM "{name}" /T')

                self.assert_auto_closes(chosen)


if __name__ == "__main__":
    e2e_case.main()
