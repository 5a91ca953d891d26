"""Two programs of one publisher, Widget and Gadget, installed for everyone and run once, and a
document of the user's named for Widget: what an uninstall of Widget leaves behind, and what must
stay whatever is removed of it."""

from __future__ import annotations

import glob
import hashlib
import os

import actions
import harness

ACME_SCRIPT = os.path.join(actions.INSTALLERS_DIR, "acme_app.nsi")
RUN = r"Software\Microsoft\Windows\CurrentVersion\Run"


class AcmeCase(actions.ActionCase):
    def variable(self, name: str) -> str:
        code, value = self.prefix.run([harness.WINE, "cmd", "/c", f"echo %{name}%"])
        self.assertEqual(code, 0)
        return value.strip()

    def install_acme(self) -> None:
        self.bring_desktop_up()
        for app in ("Widget", "Gadget"):
            package = actions.makensis(ACME_SCRIPT, f"{app.lower()}.exe", f"-DAPP={app}")
            actions.install(self.prefix, package, "/S")
        documents = actions.drive_c(self.prefix, self.variable("USERPROFILE") + r"\Documents")
        os.makedirs(os.path.join(documents, "Widget files"), exist_ok=True)
        with open(os.path.join(documents, "Widget files", "mine.acmeWidget"), "w") as mine:
            mine.write("the user's own")

    def start_menu(self) -> str:
        return self.variable("ProgramData") + r"\Microsoft\Windows\Start Menu\Programs\Acme"

    def hashes(self, folder: str) -> dict[str, str]:
        """Each file's SHA-256 under a Windows folder, by its path below it."""
        root = actions.drive_c(self.prefix, folder)
        found = {}
        for path in glob.glob(os.path.join(root, "**", "*"), recursive=True):
            if os.path.isfile(path):
                with open(path, "rb") as stream:
                    found[os.path.relpath(path, root)] = hashlib.sha256(stream.read()).hexdigest()
        return found

    def untouched(self) -> dict[str, dict[str, str]]:
        """What no removal of Widget's may change: the publisher's shared folders, with Gadget's
        shortcut, and the user's documents. Widget's own shortcut is left out."""
        folders = [
            self.start_menu(),
            self.variable("APPDATA") + r"\Acme",
            self.variable("USERPROFILE") + r"\Documents",
        ]
        found = {folder: self.hashes(folder) for folder in folders}
        found[self.start_menu()].pop("Widget.lnk", None)
        return found

    def has_value(self, root: str, name: str) -> bool:
        key = rf"{root}\{RUN}"
        code, _ = self.prefix.run([harness.WINE, "reg", "query", key, "/v", name, "/reg:32"])
        return code == 0

    def has_key(self, key: str) -> bool:
        code, _ = self.prefix.run([harness.WINE, "reg", "query", key, "/reg:32"])
        return code == 0

    def assert_widgets_certain_items_gone_and_gadgets_kept(self) -> None:
        self.assertFalse(self.has_value("HKCU", "Widget") or self.has_value("HKLM", "Widget"))
        self.assertFalse(self.has_key(r"HKLM\Software\Classes\.acmeWidget"))
        self.assertTrue(self.has_value("HKCU", "Gadget") and self.has_value("HKLM", "Gadget"))
        self.assertTrue(self.has_key(r"HKLM\Software\Classes\.acmeGadget"))
