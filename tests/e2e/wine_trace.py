"""Reads what a program showed from Wine's `trace+menu,trace+msgbox` debug output.

Wine logs every menu it creates and every item it inserts, changes or removes, each pop-up call
with its flags and point, and the text of every message box. Replaying those lines rebuilds the
menus as the program made them, without asking the program anything.

Pure Python, no Wine needed: the parser is tested against captured samples.
"""

from __future__ import annotations

import dataclasses
import re

SEPARATOR = "-"


def unescape(text: str) -> str:
    """Undoes Wine's debug-string escaping: \\" \\\\ \\n \\r \\t, and \\XXXX (four hex digits)."""
    simple = {'"': '"', "\\": "\\", "n": "\n", "r": "\r", "t": "\t"}
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch != "\\" or i + 1 >= len(text):
            out.append(ch)
            i += 1
            continue
        nxt = text[i + 1]
        if nxt in simple:
            out.append(simple[nxt])
            i += 2
            continue
        digits = text[i + 1 : i + 5]
        if len(digits) == 4 and all(c in "0123456789abcdefABCDEF" for c in digits):
            out.append(chr(int(digits, 16)))
            i += 5
            continue
        out.append(ch)
        i += 1
    return "".join(out)


# A wide string as Wine prints it: L"...", possibly cut short with a trailing "...".
_WSTR = r'L"(?:[^"\\]|\\.)*"(?:\.\.\.)?'
_FIELD = re.compile(r"(\w+)=(" + _WSTR + r"|[^,}\s]*)")


def parse_wstr(token: str) -> str:
    """Turns a printed L"..." token into its text. A cut-short string keeps what was printed."""
    body = token[2:]
    if body.endswith('"...'):
        body = body[:-4]
    elif body.endswith('"'):
        body = body[:-1]
    return unescape(body)


@dataclasses.dataclass
class MenuItem:
    item_id: int = 0
    text: str | None = None
    submenu: int | None = None
    ftype: str = ""
    state: str = ""

    @property
    def is_separator(self) -> bool:
        return "sep" in self.ftype

    @property
    def is_default(self) -> bool:
        # Wine prints the state flags run together, e.g. "greydefault".
        return "default" in self.state


def parse_item_info(info: str) -> MenuItem:
    """Parses `{ ID=0x7, Sub=0x3006a, fType=pop, State=default, Text=L"..." }`."""
    item = MenuItem()
    for key, value in _FIELD.findall(info):
        if key == "ID":
            item.item_id = int(value, 16)
        elif key == "Sub":
            item.submenu = int(value, 16)
        elif key == "fType":
            item.ftype = value
        elif key == "State":
            item.state = value
        elif key == "Text":
            item.text = parse_wstr(value)
    return item


@dataclasses.dataclass(frozen=True)
class Popup:
    menu: int
    flags: int
    x: int
    y: int


@dataclasses.dataclass
class _Target:
    """Where the next item-info change applies: a menu, and a position or a command id."""

    menu: int
    position: int | None = None  # None: append (position -1)
    by_command: bool = False
    inserting: bool = False


# "[timestamp:][pid:]tid:class:channel:function rest"
_LINE = re.compile(
    r"^(?:[\d.]+:)?(?:[0-9a-f]+:)?([0-9a-f]+):(trace|warn|err|fixme):(\w+):(\S+) ?(.*)$"
)
_HEX = r"(?:0x)?([0-9a-fA-F]+)"
_CREATE = re.compile(r"return " + _HEX)
_INSERT_MENU_W = re.compile(r"hMenu " + _HEX + r", pos (-?\d+), flags ([0-9a-fA-F]+)")
_INSERT_ITEM_W = re.compile(r"hmenu " + _HEX + r", item ([0-9a-fA-F]+), by pos (\d+)")
_SET_ITEM_W = re.compile(r"hmenu " + _HEX + r", item (\d+), by pos (\d+)")
_MODIFY_W = re.compile(_HEX + r" (-?\d+) ([0-9a-fA-F]+) ")
_INSERTING_AT = re.compile(r"inserting at (\d+)")
_REMOVE = re.compile(r"\(menu=" + _HEX + r" id=(?:0x)?([0-9a-fA-F]+) flags=([0-9a-fA-F]+)\)")
_DESTROY = re.compile(r"\(" + _HEX + r"\)")
_DEFAULT = re.compile(r"\(" + _HEX + r",(-?\d+),(\d+)\)")
_TRACK = re.compile(r"hmenu " + _HEX + r" flags ([0-9a-fA-F]+) \((-?\d+),(-?\d+)\)")
_MSGBOX = re.compile(r"^(" + _WSTR + r")")

MF_BYPOSITION = 0x400


class Trace:
    """The menus, pop-ups and message boxes found in one trace."""

    def __init__(self) -> None:
        # Menus keep their last contents when destroyed, so that a trace read after the
        # program has ended still shows what it popped up.
        self.menus: dict[int, list[MenuItem]] = {}
        self.destroyed: set[int] = set()
        self.popups: list[Popup] = []
        self.message_boxes: list[str] = []
        self._targets: dict[str, _Target] = {}

    # ----- queries -----

    def outline(self, menu: int) -> list:
        """The menu as nested plain data: a caption for a plain item, "-" for a separator,
        and (caption, [children...]) for an item that opens a submenu."""
        result = []
        for item in self.menus.get(menu, []):
            if item.is_separator:
                result.append(SEPARATOR)
            elif item.submenu is not None:
                result.append((item.text, self.outline(item.submenu)))
            else:
                result.append(item.text)
        return result

    def captions(self, menu: int) -> list[str | None]:
        return [item.text for item in self.menus.get(menu, []) if not item.is_separator]

    def submenu_of(self, menu: int, caption: str) -> int | None:
        for item in self.menus.get(menu, []):
            if item.text == caption:
                return item.submenu
        return None

    def default_items(self, menu: int) -> list[str | None]:
        return [item.text for item in self.menus.get(menu, []) if item.is_default]

    # ----- feeding -----

    def feed(self, line: str) -> None:
        match = _LINE.match(line.rstrip("\n"))
        if not match:
            return
        thread, _level, channel, function, rest = match.groups()
        if channel == "msgbox" and function == "MSGBOX_OnInit":
            text = _MSGBOX.match(rest)
            if text:
                self.message_boxes.append(parse_wstr(text.group(1)))
            return
        if channel != "menu":
            return
        handler = _HANDLERS.get(function)
        if handler:
            handler(self, thread, rest)

    def _on_create(self, thread: str, rest: str) -> None:
        m = _CREATE.search(rest)
        if m:
            menu = int(m.group(1), 16)
            self.menus[menu] = []
            self.destroyed.discard(menu)

    def _on_insert_menu_w(self, thread: str, rest: str) -> None:
        m = _INSERT_MENU_W.search(rest)
        if not m:
            return
        menu, pos, flags = int(m.group(1), 16), int(m.group(2)), int(m.group(3), 16)
        by_position = bool(flags & MF_BYPOSITION)
        self._targets[thread] = _Target(
            menu, None if pos == -1 else pos, by_command=not by_position and pos != -1
        )

    def _on_insert_item_w(self, thread: str, rest: str) -> None:
        m = _INSERT_ITEM_W.search(rest)
        if m:
            by_pos = m.group(3) != "0"
            self._targets[thread] = _Target(
                int(m.group(1), 16), int(m.group(2), 16), by_command=not by_pos
            )

    def _on_set_item_w(self, thread: str, rest: str) -> None:
        m = _SET_ITEM_W.search(rest)
        if m:
            by_pos = m.group(3) != "0"
            self._targets[thread] = _Target(
                int(m.group(1), 16), int(m.group(2)), by_command=not by_pos
            )

    def _on_modify_w(self, thread: str, rest: str) -> None:
        m = _MODIFY_W.match(rest)
        if m:
            flags = int(m.group(3), 16)
            self._targets[thread] = _Target(
                int(m.group(1), 16), int(m.group(2)), by_command=not flags & MF_BYPOSITION
            )

    def _on_inserting(self, thread: str, rest: str) -> None:
        target = self._targets.get(thread)
        m = _INSERTING_AT.search(rest)
        if target is None or not m:
            return
        # Wine has resolved the place: from here on it is a position in the target menu.
        target.position = int(m.group(1))
        target.by_command = False
        target.inserting = True

    def _on_item_info(self, thread: str, rest: str) -> None:
        if not rest.startswith("to:"):
            return
        target = self._targets.pop(thread, None)
        if target is None or target.menu not in self.menus:
            return
        item = parse_item_info(rest[3:])
        items = self.menus[target.menu]
        if target.inserting:
            position = len(items) if target.position is None else min(target.position, len(items))
            items.insert(position, item)
            return
        index = self._find(target.menu, target.position, target.by_command)
        if index is not None:
            items[index] = item

    def _find(self, menu: int, key: int | None, by_command: bool) -> int | None:
        items = self.menus.get(menu, [])
        if key is None:
            return None
        if not by_command:
            return key if 0 <= key < len(items) else None
        for index, item in enumerate(items):
            if item.item_id == key:
                return index
        return None

    def _on_remove(self, thread: str, rest: str) -> None:
        m = _REMOVE.search(rest)
        if not m:
            return
        menu, key, flags = int(m.group(1), 16), int(m.group(2), 16), int(m.group(3), 16)
        index = self._find(menu, key, by_command=not flags & MF_BYPOSITION)
        if index is not None:
            del self.menus[menu][index]

    def _on_destroy(self, thread: str, rest: str) -> None:
        m = _DESTROY.search(rest)
        if m:
            self.destroyed.add(int(m.group(1), 16))

    def _on_default(self, thread: str, rest: str) -> None:
        m = _DEFAULT.search(rest)
        if not m:
            return
        menu, key, by_pos = int(m.group(1), 16), int(m.group(2)), m.group(3) != "0"
        items = self.menus.get(menu)
        if items is None:
            return
        chosen = None if key == -1 else self._find(menu, key, by_command=not by_pos)
        for index, item in enumerate(items):
            item.state = item.state.replace("default", "")
            if index == chosen:
                item.state += "default"

    def _on_track(self, thread: str, rest: str) -> None:
        m = _TRACK.search(rest)
        if m:
            self.popups.append(
                Popup(int(m.group(1), 16), int(m.group(2), 16), int(m.group(3)), int(m.group(4)))
            )


_HANDLERS = {
    "create_menu": Trace._on_create,
    "InsertMenuW": Trace._on_insert_menu_w,
    "InsertMenuItemW": Trace._on_insert_item_w,
    "InsertMenuItemA": Trace._on_insert_item_w,
    "SetMenuItemInfoW": Trace._on_set_item_w,
    "SetMenuItemInfoA": Trace._on_set_item_w,
    "ModifyMenuW": Trace._on_modify_w,
    "insert_menu_item": Trace._on_inserting,
    "set_menu_item_info": Trace._on_item_info,
    "NtUserRemoveMenu": Trace._on_remove,
    "NtUserDeleteMenu": Trace._on_remove,
    "NtUserDestroyMenu": Trace._on_destroy,
    "NtUserSetMenuDefaultItem": Trace._on_default,
    "NtUserTrackPopupMenuEx": Trace._on_track,
}


def parse(text: str) -> Trace:
    trace = Trace()
    for line in text.splitlines():
        trace.feed(line)
    return trace


def parse_file(path: str) -> Trace:
    with open(path, encoding="utf-8", errors="replace") as stream:
        return parse(stream.read())
