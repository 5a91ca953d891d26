"""The three web commands: each opens its page in the default browser and ends the program."""

from __future__ import annotations

import os
import stat

import e2e_case
import harness
import product_menu
import regfile

SITE = "https://www.quillon-software.com"
PAGES = [
    ("Check for Updates", f"{SITE}/tapwise-uninstaller/mail.php?ver=1.9"),
    ("Visit Web Site", f"{SITE}/tapwise-uninstaller/?vid=1.9"),
    # The support page lies at the host's top level.
    ("Send Message", f"{SITE}/support.htm?v=1.9"),
]

# Wine's winebrowser hands a web address to the first of these Unix programs that runs.
BROWSER_KEY = r"HKEY_CURRENT_USER\Software\Wine\WineBrowser"
URL_TIMEOUT = 5  # seconds; the address normally arrives about 100 ms after the program ended


class WebTest(e2e_case.E2ECase):
    def install_browser(self) -> str:
        """A stand-in browser that logs each address it is given; returns the log's path."""
        log = self.prefix.file("opened.txt")
        script = self.prefix.file("browser.sh")
        with open(script, "w", encoding="utf-8") as stream:
            stream.write(f'#!/bin/sh\nprintf \'%s\\n\' "$*" >> "{log}"\n')
        os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
        self.seed([regfile.Key(BROWSER_KEY, {"Browsers": script})])
        return log

    def test_each_page_opens_and_the_program_ends_at_once(self):
        log = self.install_browser()
        for count, (caption, address) in enumerate(PAGES, start=1):
            with self.subTest(caption):
                # One prefix for the three runs: the first start brings its desktop up.
                app = self.start() if self.app is None else self.prefix.launch(self.app.exe)
                self.app = app
                self.assert_ends_at_once(product_menu.choose(app.wait_menu(), caption))
                opened = harness.wait_until(
                    lambda: _lines(log)[count - 1 :], URL_TIMEOUT, f"the address for {caption}"
                )
                self.assertEqual(opened, [address])


def _lines(path: str) -> list[str]:
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as stream:
        return stream.read().splitlines()


if __name__ == "__main__":
    e2e_case.main()
