"""Writes registry fixtures as .reg text (the "Windows Registry Editor Version 5.00" format).

Where a key lands is spelled out in its path, so one file can seed every root and view when it
is imported with the 64-bit regedit (see harness.Prefix.import_reg):
  UNINSTALL_64   HKLM's 64-bit view
  UNINSTALL_32   HKLM's 32-bit view (the one a 32-bit program sees by default)
  UNINSTALL_USER HKCU (one key, whatever the view)
"""

from __future__ import annotations

import dataclasses
from collections.abc import Iterable

HEADER = "Windows Registry Editor Version 5.00"
OLD_HEADER = "REGEDIT4"

_UNINSTALL = r"Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_64 = rf"HKEY_LOCAL_MACHINE\Software\{_UNINSTALL}"
UNINSTALL_32 = rf"HKEY_LOCAL_MACHINE\Software\Wow6432Node\{_UNINSTALL}"
UNINSTALL_USER = rf"HKEY_CURRENT_USER\Software\{_UNINSTALL}"
UNINSTALL_ROOTS = (UNINSTALL_32, UNINSTALL_64, UNINSTALL_USER)

STATE_KEY = r"HKEY_CURRENT_USER\Software\Quillon\Tapwise Uninstaller"
# Where the screen's DPI is kept: the user's setting and the display's.
LOG_PIXELS_KEYS = (
    r"HKEY_CURRENT_USER\Control Panel\Desktop",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts",
)


class ExpandSz(str):
    """A REG_EXPAND_SZ value (written as hex(2))."""


class Binary(bytes):
    """A REG_BINARY value."""


class Dword(int):
    """A REG_DWORD value; plain ints are written the same way."""


@dataclasses.dataclass(frozen=True)
class Raw:
    """A value of any type, the exact bytes stored: text without its terminator, an odd byte
    count, a type no program knows."""

    kind: int
    data: bytes


def utf16(text: str) -> bytes:
    """Registry text as stored, lone surrogates ("\\ud800") kept as they are."""
    return text.encode("utf-16-le", "surrogatepass")


@dataclasses.dataclass
class Key:
    path: str
    values: dict[str, object] = dataclasses.field(default_factory=dict)


def quote(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _hex(kind: str, data: bytes) -> str:
    return f"hex{kind}:" + ",".join(f"{b:02x}" for b in data)


def render_value(value: object) -> str:
    if isinstance(value, Raw):
        return _hex(f"({value.kind:x})", value.data)
    if isinstance(value, ExpandSz):
        return _hex("(2)", (str(value) + "\0").encode("utf-16-le"))
    if isinstance(value, str):
        return quote(value)
    if isinstance(value, bool):
        return f"dword:{int(value):08x}"
    if isinstance(value, int):
        return f"dword:{value & 0xFFFFFFFF:08x}"
    if isinstance(value, bytes):
        return _hex("", value)
    raise TypeError(f"no registry type for {value!r}")


def render(keys: Iterable[Key]) -> str:
    lines = [HEADER, ""]
    for key in keys:
        lines.append(f"[{key.path}]")
        for name, value in key.values.items():
            lines.append(f"{quote(name)}={render_value(value)}")
        lines.append("")
    return "\n".join(lines) + "\n"


def program(root: str, subkey: str, **values: object) -> Key:
    """An uninstall entry: root is one of UNINSTALL_*, values as named in the registry."""
    return Key(rf"{root}\{subkey}", dict(values))


def log_pixels(dpi: int) -> list[Key]:
    """The keys that set the screen to dpi (96 is 100 %)."""
    return [Key(path, {"LogPixels": Dword(dpi)}) for path in LOG_PIXELS_KEYS]


def as_unicode(content: str) -> str:
    """Hand-written fixtures may use the old header; the file is always written as UTF-16."""
    if content.startswith(OLD_HEADER):
        return HEADER + content[len(OLD_HEADER) :]
    return content
