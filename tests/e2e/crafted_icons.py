"""Icon files built byte by byte: bitmap pictures, .ico files and program files whose resource
section holds icon groups, whole or made to lie. The end-to-end tests write them into the
prefix; `python3 crafted_icons.py DIR` writes them as seeds for the icon reader's fuzz target."""

from __future__ import annotations

import os
import struct
import sys

RAW_START = 0x200
SECTION_ADDRESS = 0x1000
PE_AT = 0x80
OPTIONAL_AT = PE_AT + 24
ROOT_ID_COUNT_AT = RAW_START + 14
ROOT_GROUP_TARGET_AT = RAW_START + 16 + 8 + 4  # the root's second entry: RT_GROUP_ICON
SUBDIRECTORY = 0x80000000
RT_ICON, RT_GROUP_ICON = 3, 14


def bitmap(side: int, bits: int = 32, fill: int = 0x55) -> bytes:
    """A whole bitmap picture: header, colour table, pixels and mask."""
    row = lambda b: (side * b + 31) // 32 * 4  # noqa: E731
    colours = 1 << bits if bits <= 8 else 0
    header = struct.pack("<IiiHHIIiiII", 40, side, 2 * side, 1, bits, 0, 0, 0, 0, 0, 0)
    return header + bytes([fill]) * (colours * 4 + row(bits) * side + row(1) * side)


def solid(side: int, rgb: tuple[int, int, int]) -> bytes:
    """A 32-bit bitmap picture of one opaque colour, its mask clear."""
    r, g, b = rgb
    header = struct.pack("<IiiHHIIiiII", 40, side, 2 * side, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + bytes([b, g, r, 255]) * side * side + bytes((side + 31) // 32 * 4 * side)


def ico(pictures: list[tuple[int, int, bytes]]) -> bytes:
    """An .ico file of (side, bits, picture bytes)."""
    head = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries, data = b"", b""
    for side, bits, picture in pictures:
        entries += struct.pack("<BBBBHHII", side & 0xFF, side & 0xFF, 0, 0, 1, bits,
                               len(picture), offset)
        offset += len(picture)
        data += picture
    return head + entries + data


def _table(rows: list[tuple[int, int]]) -> bytes:
    return struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(rows)) + b"".join(
        struct.pack("<II", name, target) for name, target in rows)


def resource_section(groups: list[tuple[int, list[tuple[int, int, int, bytes]]]]) -> bytes:
    """The resources of groups of (group id, [(icon id, side, bits, picture bytes)])."""
    icons = {}
    directories = []
    for group_id, pictures in groups:
        directory = struct.pack("<HHH", 0, 1, len(pictures))
        for icon_id, side, bits, picture in pictures:
            directory += struct.pack("<BBBBHHIH", side & 0xFF, side & 0xFF, 0, 0, 1, bits,
                                     len(picture), icon_id)
            icons[icon_id] = picture
        directories.append((group_id, directory))
    resources = sorted(icons.items()) + directories
    root = 16 + 2 * 8
    icon_table = 16 + 8 * len(icons)
    group_table = 16 + 8 * len(directories)
    languages = root + icon_table + group_table
    entries = languages + 24 * len(resources)
    data_at = entries + 16 * len(resources)
    out = _table([(RT_ICON, SUBDIRECTORY | root), (RT_GROUP_ICON, SUBDIRECTORY | (root + icon_table))])
    rows = [(rid, SUBDIRECTORY | (languages + 24 * i)) for i, (rid, _) in enumerate(resources)]
    out += _table(rows[:len(icons)]) + _table(rows[len(icons):])
    out += b"".join(_table([(0x409, entries + 16 * i)]) for i in range(len(resources)))
    data = b""
    for _, blob in resources:
        out += struct.pack("<IIII", SECTION_ADDRESS + data_at + len(data), len(blob), 0, 0)
        data += blob + bytes(-len(blob) % 4)
    out += data
    return out + bytes(-len(out) % 0x200)


def program(groups, wide: bool = False) -> bytes:
    """A program file (PE32, or PE32+ when wide) whose one section holds the resources."""
    section = resource_section(groups)
    optional_size = 0xF0 if wide else 0xE0
    directories = OPTIONAL_AT + (112 if wide else 96)
    head = bytearray(RAW_START)
    struct.pack_into("<H", head, 0, 0x5A4D)
    struct.pack_into("<I", head, 0x3C, PE_AT)
    struct.pack_into("<IHHIIIHH", head, PE_AT, 0x4550, 0x8664 if wide else 0x14C, 1, 0, 0, 0,
                     optional_size, 0x0102)
    struct.pack_into("<H", head, OPTIONAL_AT, 0x20B if wide else 0x10B)
    struct.pack_into("<I", head, OPTIONAL_AT + 60, RAW_START)
    struct.pack_into("<I", head, directories - 4, 16)
    struct.pack_into("<II", head, directories + 16, SECTION_ADDRESS, len(section))
    struct.pack_into("<8sIIII", head, OPTIONAL_AT + optional_size, b".rsrc", len(section),
                     SECTION_ADDRESS, len(section), RAW_START)
    return bytes(head) + section


def patched(data: bytes, at: int, fmt: str, value: int) -> bytes:
    out = bytearray(data)
    struct.pack_into(fmt, out, at, value)
    return bytes(out)


RED = (255, 0, 0)


def red_program(wide: bool = False) -> bytes:
    """A whole program file with one red icon in three sizes."""
    return program([(1, [(i + 1, side, 32, solid(side, RED)) for i, side in enumerate((16, 24, 32))])],
                   wide)


def group_table_outside() -> bytes:
    """Every section within the file, but the root's RT_GROUP_ICON entry leads to a table at
    0x7FFFFF00."""
    return patched(red_program(), ROOT_GROUP_TARGET_AT, "<I", SUBDIRECTORY | 0x7FFFFF00)


def root_of_65535_entries() -> bytes:
    return patched(red_program(), ROOT_ID_COUNT_AT, "<H", 0xFFFF)


def lying_ico() -> bytes:
    """126 bytes: one picture whose header claims 2^31-1 x 2^30 pixels."""
    picture = struct.pack("<IiiHHIIiiII", 40, 0x7FFFFFFF, -0x80000000, 1, 32, 0, 0, 0, 0, 0, 0)
    data = ico([(16, 32, picture + bytes(126 - 22 - len(picture)))])
    assert len(data) == 126
    return data


SEEDS = {
    "whole.ico": lambda: ico([(16, 32, bitmap(16)), (32, 4, bitmap(32, 4))]),
    "lying.ico": lying_ico,
    "whole32.exe": red_program,
    "whole64.exe": lambda: red_program(wide=True),
    "group_outside.exe": group_table_outside,
    "root_65535.exe": root_of_65535_entries,
    "empty_root.exe": lambda: program([]),
}

if __name__ == "__main__":
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, make in SEEDS.items():
        with open(os.path.join(sys.argv[1], name), "wb") as stream:
            stream.write(make())
