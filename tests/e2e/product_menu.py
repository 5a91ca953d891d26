"""The product submenu ("Tapwise Uninstaller") of the popup menu: reaching its commands with keys,
and watching the windows they open.

Python 3 standard library only.
"""

from __future__ import annotations

import os
import subprocess
import time

import actions
import harness
import menu_table

OPTIONS_CAPTION = "Tapwise Uninstaller \\ Options"
ABOUT_CAPTION = "About Tapwise Uninstaller"

_PRODUCT = menu_table.product_row()
# Whatever is selected: End selects "Exit", the last item; Ups reach the product submenu
# (separators are skipped); Right opens it on its first item.
_OPEN_SUBMENU = ("End", *["Up"] * menu_table.ups_from_last(_PRODUCT.caption), "Right")

# Set to a directory, and the tests that show a window save a screenshot of it there.
SCREENSHOT_DIR_VARIABLE = "TAPWISE_E2E_SCREENSHOTS"


def choose(menu: str, caption: str) -> float:
    """Chooses a command of the product submenu in the shown menu; returns when that was."""
    harness.send_keys(menu, *_OPEN_SUBMENU, *["Down"] * menu_table.keys_within(_PRODUCT.name, caption), "Return")
    return time.monotonic()


def wait_window(caption: str, timeout: float = 10) -> str:
    return harness.wait_until(
        lambda: harness.visible_windows(name=caption), timeout, f"a window captioned {caption!r}"
    )[0]


def wait_window_gone(window: str, caption: str, timeout: float = 5) -> None:
    harness.wait_until(
        lambda: window not in harness.visible_windows(name=caption),
        timeout,
        f"the window captioned {caption!r} to close",
    )


def display_size() -> tuple[int, int]:
    out = subprocess.run(
        ["xdotool", "getdisplaygeometry"], stdout=subprocess.PIPE, text=True, check=True
    ).stdout.split()
    return int(out[0]), int(out[1])


def wait_painted(prefix: harness.Prefix, caption: str) -> None:
    """Returns once the window captioned so has painted everything it had still to paint."""
    code, _ = prefix.run([harness.WINE, actions.helper_exe("paint_wait"), caption])
    if code != 0:
        raise harness.HarnessError(f"no window captioned {caption!r} to wait for (exit {code})")


def screenshot(name: str, prefix: harness.Prefix, caption: str | None = None) -> str | None:
    """Saves the whole screen as <name>.png in the screenshot directory, when one is set: once
    the window captioned so, if any, has finished painting, and the screen holds still."""
    directory = os.environ.get(SCREENSHOT_DIR_VARIABLE)
    if not directory:
        return None
    if caption is not None:
        wait_painted(prefix, caption)
    screen = harness.settled_screen()
    os.makedirs(directory, exist_ok=True)
    path = os.path.join(directory, f"{name}.png")
    subprocess.run(["convert", "ppm:-", path], input=screen, check=True)
    return path
