"""What a real uninstall left behind, as the program finds it afterwards: two programs of one
publisher, Widget and Gadget, installed and run once; Widget removed quietly by the program;
then /leftovers names what Widget left, each with its certainty, and nothing of Gadget's, of the
publisher's shared folders or of the user's own documents."""

from __future__ import annotations

import json
import os

import actions
import e2e_case
import harness

ACME_SCRIPT = os.path.join(actions.INSTALLERS_DIR, "acme_app.nsi")
RUN = r"Software\Microsoft\Windows\CurrentVersion\Run"


class LeftoversTest(actions.ActionCase):
    def variable(self, name: str) -> str:
        code, value = self.prefix.run([harness.WINE, "cmd", "/c", f"echo %{name}%"])
        self.assertEqual(code, 0)
        return value.strip()

    def test_a_real_uninstall_leaves_what_the_evidence_names_and_nothing_else(self):
        self.bring_desktop_up()
        for app in ("Widget", "Gadget"):
            package = actions.makensis(ACME_SCRIPT, f"{app.lower()}.exe", f"-DAPP={app}")
            actions.install(self.prefix, package, "/S")
        documents = actions.drive_c(self.prefix, self.variable("USERPROFILE") + r"\Documents")
        os.makedirs(os.path.join(documents, "Widget files"), exist_ok=True)
        with open(os.path.join(documents, "Widget files", "mine.acmeWidget"), "w") as mine:
            mine.write("the user's own")

        exe = e2e_case._options.exe
        code, _ = self.prefix.run([harness.WINE, exe, "/uninstall", "HKLM32/Widget", "/quiet"], timeout=120)
        self.assertEqual(code, 0)
        code, listed = self.prefix.run([harness.WINE, exe, "/leftovers"], timeout=120)
        self.assertEqual(code, 0)
        (record,) = json.loads(listed)
        self.assertEqual((record["id"], record["name"]), ("HKLM32/Widget", "Widget"))
        found = {(i["kind"], i["place"].lower(), i.get("value"), i["certain"]) for i in record["items"]}

        program = self.variable("ProgramFiles(x86)") + r"\Acme\Widget"
        menu = self.variable("ProgramData") + r"\Microsoft\Windows\Start Menu\Programs\Acme"
        expected = {
            ("run value", rf"HKCU\{RUN}", "Widget", True),
            ("run value", rf"HKLM32\{RUN}", "Widget", True),
            ("file type", r"HKLM32\Software\Classes\.acmeWidget", None, True),
            ("shortcut", rf"{menu}\Widget.lnk", None, True),
            # Named by an entry anyone could have changed: offered, never checked.
            ("folder", program, None, False),
            ("folder", self.variable("APPDATA") + r"\Acme\Widget", None, False),
            ("folder", self.variable("LOCALAPPDATA") + r"\Acme\Widget", None, False),
            ("key", r"HKCU\Software\Acme\Widget", None, False),
        }
        self.assertEqual(found, {(k, p.lower(), v, c) for k, p, v, c in expected})


if __name__ == "__main__":
    e2e_case.main()
