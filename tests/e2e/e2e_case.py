"""Shared set-up of the end-to-end tests: command line, one prefix per test, starting the program.

Each test module ends with `e2e_case.main()`, and is run as
    python3 test_x.py --exe TapwiseUninstaller.exe --cursor-holder cursor_holder.exe [unittest args]
"""

from __future__ import annotations

import argparse
import os
import sys
import time
import unittest

import harness
import menu_table
import wine_trace
import regfile

CAPTION = "Tapwise Uninstaller"
POINT = (321, 234)  # where the cursor is when the program starts
AUTO_CLOSE_RANGE = (2.0, 5.0)  # seconds from dismissing the menu to the end of the process
AT_ONCE = 1.5  # seconds from choosing "Exit" to the end of the process

_options = argparse.Namespace(exe=None, cursor_holder=None)


# The submenus that the program fills from what it reads, when they first open.
GENERATED_SUBMENUS = menu_table.generated_submenus()


def keys_to_open(top_captions: list, caption: str) -> list[str]:
    """The keys that open one submenu of the top menu on its first item, whatever is selected:
    Home selects the first item, Down skips separators."""
    return ["Home", *["Down"] * top_captions.index(caption), "Right"]


def main() -> None:
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--cursor-holder", required=True)
    known, rest = parser.parse_known_args()
    _options.exe = os.path.abspath(known.exe)
    _options.cursor_holder = os.path.abspath(known.cursor_holder)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


class E2ECase(unittest.TestCase):
    """A test with its own fresh prefix; the program's trace is printed when the test fails."""

    ARCH: str | None = None  # "win32" plays 32-bit Windows in a prefix made for the test

    def setUp(self) -> None:
        if not _options.exe:
            self.skipTest("run through e2e_case.main() with --exe and --cursor-holder")
        self.prefix = harness.Prefix(arch=self.ARCH)
        self.prefix.__enter__()
        self.addCleanup(self.prefix.close)
        self.app: harness.App | None = None

    def run(self, result=None):
        # On failure, show what the program built: the test's prefix and trace are gone by then.
        failures_before = len(result.failures) + len(result.errors) if result else 0
        outcome = super().run(result)
        if result and len(result.failures) + len(result.errors) > failures_before:
            self._report_trace()
        return outcome

    def _report_trace(self) -> None:
        trace = getattr(self, "_final_trace", None)
        if trace is None:
            return
        lines = [f"--- what the program showed in {self.id()} ---"]
        lines += [f"message box: {text!r}" for text in trace.message_boxes]
        for popup in trace.popups:
            lines.append(f"pop-up flags {popup.flags:04x} at ({popup.x},{popup.y}):")
            lines += [f"  {entry!r}" for entry in trace.outline(popup.menu)]
            lines.append(f"  default: {trace.default_items(popup.menu)}")
        sys.stderr.write("\n".join(lines) + "\n")

    # ----- steps -----

    def seed(self, keys: list[regfile.Key]) -> None:
        self.prefix.import_reg(regfile.render(keys))

    def start(self, point: tuple[int, int] = POINT) -> harness.App:
        self.prefix.hold_cursor(_options.cursor_holder, *point)
        self.app = self.prefix.launch(_options.exe)
        self.addCleanup(self._keep_trace)
        return self.app

    def _keep_trace(self) -> None:
        if self.app is not None and os.path.exists(self.app.trace_path):
            self._final_trace = self.app.trace()

    @property
    def exe_name(self) -> str:
        return os.path.basename(_options.exe)

    def choose_exit(self, menu: str) -> float:
        """Chooses "Exit" (the last item: End selects it whatever is selected) and returns when
        that was."""
        harness.send_keys(menu, "End", "Return")
        return time.monotonic()

    def open_all_programs(self, menu: str) -> str:
        """Opens "All Programs" with the keyboard; returns its submenu's window, the menu
        window furthest right."""
        harness.send_keys(menu, "Home", "Right")
        windows = harness.wait_until(
            lambda: self.app.menu_windows() if len(self.app.menu_windows()) >= 2 else None,
            10,
            "the submenu window",
        )
        return max(windows, key=lambda w: harness.window_geometry(w)[0])

    def open_submenus(self, menu: str, popup: int = 1) -> wine_trace.Trace:
        """Opens each generated submenu of pop-up number `popup` (from 1) with the keyboard and
        closes it again, so that the trace holds their items: the program fills a submenu when
        it first opens. Returns the trace; the last submenu opened stays selected."""
        trace = self.app.wait_popup(popup)
        top = trace.popups[popup - 1].menu
        captions = trace.captions(top)
        for caption in GENERATED_SUBMENUS:
            submenu = trace.submenu_of(top, caption)
            if submenu is None:
                continue  # an empty list is a plain item
            harness.send_keys(menu, *keys_to_open(captions, caption), "Left")
            self.app.wait_submenu_filled(submenu)
        return self.app.trace()

    def dismiss(self, menu: str) -> float:
        harness.send_keys(menu, "Escape")
        return time.monotonic()

    def assert_ends_at_once(self, since: float) -> None:
        ended = self.app.wait_exit(timeout=10)
        self.assertLess(ended - since, AT_ONCE, "the program should end at once")

    def assert_auto_closes(self, since: float) -> None:
        ended = self.app.wait_exit(timeout=15)
        low, high = AUTO_CLOSE_RANGE
        elapsed = ended - since
        self.assertGreaterEqual(elapsed, low, "the program ended before its auto-close")
        self.assertLessEqual(elapsed, high, "the program did not auto-close in time")
