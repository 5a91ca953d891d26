"""What a real uninstall left behind, as the program finds it afterwards: two programs of one
publisher, Widget and Gadget, installed and run once; Widget removed quietly by the program;
then /leftovers names what Widget left, each with its certainty, and nothing of Gadget's, of the
publisher's shared folders or of the user's own documents. /leftovers /remove then takes the
certain items into the stores, the machine's through the elevated step, byte for byte."""

from __future__ import annotations

import json
import os

import acme_case
import actions
import e2e_case
import harness

RUN = acme_case.RUN


class LeftoversTest(acme_case.AcmeCase):
    def test_a_real_uninstall_leaves_what_the_evidence_names_and_nothing_else(self):
        self.install_acme()

        exe = e2e_case._options.exe
        code, _ = self.prefix.run([harness.WINE, exe, "/uninstall", "HKLM32/Widget", "/quiet"], timeout=120)
        self.assertEqual(code, 0)
        code, listed = self.prefix.run([harness.WINE, exe, "/leftovers"], timeout=120)
        self.assertEqual(code, 0)
        (record,) = json.loads(listed)
        self.assertEqual((record["id"], record["name"]), ("HKLM32/Widget", "Widget"))
        found = {(i["kind"], i["place"].lower(), i.get("value"), i["certain"]) for i in record["items"]}

        program = self.variable("ProgramFiles(x86)") + r"\Acme\Widget"
        menu = self.start_menu()
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
        self.remove_the_certain_items(record["record"], menu)

    def remove_the_certain_items(self, record: str, menu: str) -> None:
        before = self.untouched()
        shortcut = self.hashes(menu)["Widget.lnk"]
        installed = self.install_for_everyone()
        code, said = self.prefix.run(
            [harness.WINE, installed, "/leftovers", "/remove", record], timeout=180
        )
        self.assertEqual(code, 0, said)
        removal = json.loads(said)
        self.assertEqual([item["removed"] for item in removal["items"]], [True] * 4, said)
        (user_set, machine_set) = removal["sets"]
        self.assertIn(r"\AppData\Local\Quillon\Tapwise Uninstaller\Removed items", user_set)
        machine_store = self.variable("ProgramData") + r"\Quillon\Tapwise Uninstaller\Removed items"
        self.assertTrue(machine_set.startswith(machine_store), machine_set)
        for item in removal["items"]:
            self.assertTrue(os.path.isfile(actions.drive_c(self.prefix, item["stored"])), item)
        stored = self.hashes(machine_set)
        self.assertIn(shortcut, stored.values(), "the shortcut, byte for byte")
        self.assertTrue(any(name.endswith(".reg") for name in self.hashes(user_set)))

        self.assert_widgets_certain_items_gone_and_gadgets_kept()
        self.assertEqual(self.untouched(), before)


if __name__ == "__main__":
    e2e_case.main()
