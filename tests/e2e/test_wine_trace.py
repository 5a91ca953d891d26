"""The trace parser, against traces captured from small programs under Wine 8 (no Wine needed)."""

from __future__ import annotations

import os
import unittest

import wine_trace

PRODUCT_ITEMS = [
    "Options...", "-", "Check for Updates", "Visit Web Site", "Send Message", "-", "About..."
]
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")


def load(name: str) -> wine_trace.Trace:
    return wine_trace.parse_file(os.path.join(DATA, name))


class UnescapeTest(unittest.TestCase):
    def test_wine_escapes(self):
        cases = [
            (r"plain", "plain"),
            (r"a\"b\"", 'a"b"'),
            (r"C:\\Foo\\bar.exe", "C:\\Foo\\bar.exe"),
            (r"one\r\rtwo\n\t", "one\r\rtwo\n\t"),
            (r"Ins\00e9rted", "Insérted"),
            (r"\20acx\0041", "€xA"),
            (r"trailing\\", "trailing\\"),
            (r"odd\q", "odd\\q"),
        ]
        for escaped, text in cases:
            with self.subTest(escaped=escaped):
                self.assertEqual(wine_trace.unescape(escaped), text)

    def test_item_info_fields(self):
        cases = [
            (
                '{ ID=0x1004e, Sub=0x1004e, fType=pop, Text=L"All, {Programs}"  }',
                (0x1004E, 0x1004E, "All, {Programs}", False, False),
            ),
            ('{ ID=0x0, fType=sep, State=grey  }', (0, None, None, True, False)),
            ('{ ID=0x7, State=greydefault, Text=L"x \\"y\\""  }', (7, None, 'x "y"', False, True)),
            ('{ ID=0x9, fType=seppoprorder  }', (9, None, None, True, False)),
        ]
        for info, (item_id, submenu, text, separator, default) in cases:
            with self.subTest(info=info):
                item = wine_trace.parse_item_info(info)
                self.assertEqual(
                    (item.item_id, item.submenu, item.text, item.is_separator, item.is_default),
                    (item_id, submenu, text, separator, default),
                )

    def test_cut_short_text_keeps_what_was_printed(self):
        self.assertEqual(wine_trace.parse_wstr('L"abc\\"d"...'), 'abc"d')


class CapturedTraceTest(unittest.TestCase):
    def test_prompt_then_popup(self):
        trace = load("trace_prompt_and_popup.txt")

        self.assertEqual(
            trace.message_boxes,
            [
                'You tried to uninstall "bar", but it still exists.\r\r'
                "Would you like to uninstall it using more powerful uninstaller?"
            ],
        )
        self.assertEqual(trace.popups, [wine_trace.Popup(menu=0x10056, flags=0x0002, x=0, y=0)])
        top = trace.popups[0].menu
        self.assertEqual(
            trace.outline(top),
            [
                ("All Programs", ["bar", 'Foo "quoted" A&B']),
                ("Recent Programs", ['Foo "quoted" A&B']),
                "-",
                "Kill Process",
                "-",
                ("Tapwise Uninstaller", PRODUCT_ITEMS),
                "Exit",
            ],
        )
        self.assertEqual(trace.default_items(top), ["Recent Programs"])
        self.assertEqual(trace.submenu_of(top, "Recent Programs"), 0x10050)
        # The message box's system menu was built and destroyed on the way.
        self.assertIn(0x1005C, trace.destroyed)
        self.assertNotIn(top, trace.destroyed)

    def test_items_inserted_changed_and_removed(self):
        # Built with InsertMenuItemW (by position, with a submenu, with MFS_DEFAULT), AppendMenuA,
        # InsertMenuW at 0, SetMenuItemInfoW by command, ModifyMenuW by position, DeleteMenu by
        # command, RemoveMenu by position and SetMenuDefaultItem by command.
        trace = load("trace_item_edits.txt")
        top = trace.popups[0].menu

        self.assertEqual(trace.popups[0], wine_trace.Popup(menu=top, flags=0x0100, x=5, y=6))
        self.assertEqual(
            trace.outline(top), [("A", ["Insérted \\ x", "-"]), ("Sub", []), "Renamed"]
        )
        self.assertEqual(trace.default_items(top), ["Renamed"])
        self.assertEqual(trace.default_items(trace.submenu_of(top, "A")), ["Insérted \\ x"])


class SyntheticTraceTest(unittest.TestCase):
    def test_lines_of_other_threads_do_not_mix_and_prefixes_are_accepted(self):
        trace = wine_trace.parse(
            "\n".join(
                [
                    "0100:trace:menu:create_menu return 0x10",
                    "0200:trace:menu:create_menu return 0x20",
                    '0100:trace:menu:InsertMenuW hMenu 00000010, pos -1, flags 00000400, id 0001, str L"a"',
                    '0200:trace:menu:InsertMenuW hMenu 00000020, pos -1, flags 00000400, id 0002, str L"b"',
                    "0200:trace:menu:insert_menu_item inserting at 0 flags 400",
                    "0100:trace:menu:insert_menu_item inserting at 0 flags 400",
                    '0100:trace:menu:set_menu_item_info to: { ID=0x1, Text=L"a"  }',
                    '12.345:0020:0200:trace:menu:set_menu_item_info to: { ID=0x2, Text=L"b"  }',
                    "0100:trace:menu:NtUserTrackPopupMenuEx hmenu 0x10 flags 0002 (-5,7) hwnd 0x1",
                    "garbage line",
                ]
            )
        )
        self.assertEqual(trace.outline(0x10), ["a"])
        self.assertEqual(trace.outline(0x20), ["b"])
        self.assertEqual(trace.popups, [wine_trace.Popup(0x10, 2, -5, 7)])

    def test_a_destroyed_menu_keeps_its_items_until_its_handle_is_reused(self):
        trace = wine_trace.parse(
            "\n".join(
                [
                    "0100:trace:menu:create_menu return 0x10",
                    '0100:trace:menu:InsertMenuW hMenu 00000010, pos -1, flags 00000400, id 0001, str L"old"',
                    "0100:trace:menu:insert_menu_item inserting at 0 flags 400",
                    '0100:trace:menu:set_menu_item_info to: { ID=0x1, Text=L"old"  }',
                    "0100:trace:menu:NtUserDestroyMenu (0x10)",
                ]
            )
        )
        self.assertEqual(trace.outline(0x10), ["old"], "a destroyed menu keeps what it showed")
        self.assertIn(0x10, trace.destroyed)
        trace.feed("0100:trace:menu:create_menu return 0x10")
        self.assertEqual(trace.outline(0x10), [])
        self.assertNotIn(0x10, trace.destroyed)


if __name__ == "__main__":
    unittest.main()
