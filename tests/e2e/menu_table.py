"""The menu's fixed items as the program's own table has them (src/app/menu/menu_commands.cpp, with
the captions from src/app/texts/texts.h), so that the tests follow the table instead of spelling the
order again. The unit test menu_table_test.cpp is the one place that spells it.

Python 3 standard library only.
"""

from __future__ import annotations

import dataclasses
import functools
import os
import re

_APP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "app")
_TABLE = re.compile(r"kMenuRows\[\]\s*=\s*\{(?P<rows>.*?)\n\};", re.S)
# {"Name", kCaption, "Parent"[, is_default[, command[, Slot::kSlot]]]}
_ROW = re.compile(r'\{"(?P<name>\w+)",\s*(?P<caption>\w+),\s*"(?P<parent>\w*)"(?P<rest>[^{}]*)\}')
_TEXT = re.compile(r'inline constexpr std::string_view (\w+) =\s*"((?:[^"\\]|\\.)*)";')
SEPARATOR = "-"


@dataclasses.dataclass(frozen=True)
class Row:
    name: str
    caption: str
    parent: str  # empty: the menu itself
    is_default: bool
    slot: bool  # a submenu that the program fills from what it reads
    optional: bool  # shown only when there is something in it


def _read(name: str) -> str:
    with open(os.path.join(_APP, name), encoding="utf-8") as f:
        return f.read()


@functools.cache
def rows() -> list[Row]:
    texts = {name: re.sub(r"\\(.)", r"\1", text) for name, text in _TEXT.findall(_read("texts/texts.h"))}
    table = _TABLE.search(_read("menu/menu_commands.cpp"))
    if table is None:
        raise ValueError("menu_commands.cpp holds no kMenuRows table")
    result = []
    for match in _ROW.finditer(table.group("rows")):
        rest = [field.strip() for field in match.group("rest").split(",") if field.strip()]
        result.append(
            Row(
                name=match.group("name"),
                caption=texts[match.group("caption")],
                parent=match.group("parent"),
                is_default=bool(rest) and rest[0] == "true",
                slot=any(f.startswith("Slot::") and f != "Slot::kNone" for f in rest),
                optional="Slot::kLeftBehind" in rest,
            )
        )
    if not result:
        raise ValueError("the kMenuRows table holds no rows")
    return result


def under(parent: str = "", optional: bool = False) -> list[Row]:
    """The rows under one parent, in the order shown; the top menu by default. Those shown only
    when there is something in them are left out, unless asked for."""
    return [row for row in rows() if row.parent == parent and (optional or not row.optional)]


def captions(parent: str = "") -> list[str]:
    return [row.caption for row in under(parent)]


def generated_submenus() -> tuple[str, ...]:
    """Captions of the submenus that the program fills, in the order shown."""
    return tuple(row.caption for row in rows() if row.slot)


def outline(generated: dict[str, object] | None = None) -> list:
    """The top menu as wine_trace.Trace.outline gives it: fixed submenus with their items; a
    generated submenu as given in `generated` by caption, or as a plain item (empty)."""
    generated = generated or {}

    def level(parent: str) -> list:
        items = []
        for row in under(parent, optional=True):
            if row.optional and row.caption not in generated:
                continue
            children = under(row.name)
            if children:
                items.append((row.caption, level(row.name)))
            elif row.slot and row.caption in generated:
                items.append(generated[row.caption])
            else:
                items.append(row.caption)
        return items

    return level("")


def product_row() -> Row:
    """The product submenu: the one fixed submenu of the top menu."""
    (row,) = [row for row in under() if under(row.name)]
    return row


def keys_within(parent: str, caption: str) -> int:
    """How many Downs reach an item from the first of its menu: separators are skipped."""
    return [c for c in captions(parent) if c != SEPARATOR].index(caption)


def ups_from_last(caption: str) -> int:
    """How many Ups reach a top item from the last one, which End selects."""
    items = [c for c in captions() if c != SEPARATOR]
    return len(items) - 1 - items.index(caption)


def index(caption: str) -> int:
    """Where a top item is in the top menu, separators counted, as in an outline."""
    return captions().index(caption)
