"""Reading a menu's rows from a screenshot: which colours the picture at the left of each row
holds. Python 3 standard library and ImageMagick only."""

from __future__ import annotations

import subprocess

import harness


def screenshot(path: str) -> None:
    subprocess.run(["import", "-window", "root", path], check=True)


def pixels(path: str, box: tuple[int, int, int, int]) -> list[tuple[int, int, int]]:
    """The RGB pixels of a box (x, y, width, height) of a PNG, row by row."""
    x, y, width, height = box
    raw = subprocess.run(
        ["convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
        stdout=subprocess.PIPE,
        check=True,
    ).stdout
    return [tuple(raw[i : i + 3]) for i in range(0, len(raw) - 2, 3)]


def row_boxes(window: str, rows: int, picture: int) -> list[tuple[int, int, int, int]]:
    """The left part of each of a menu window's rows, where the pictures are: rows of equal
    height, the window's border aside."""
    x, y, width, height = harness.window_geometry(window)
    border = 2
    row = (height - 2 * border) / rows
    return [
        (x + border, round(y + border + i * row), 2 * picture, round(row)) for i in range(rows)
    ]


def count(path: str, box: tuple[int, int, int, int], colour) -> int:
    return sum(1 for pixel in pixels(path, box) if colour(pixel))


def is_red(pixel: tuple[int, int, int]) -> bool:
    r, g, b = pixel
    return r > 200 and g < 60 and b < 60


def is_blue(pixel: tuple[int, int, int]) -> bool:
    r, g, b = pixel
    return b > 200 and r < 60 and g < 60
