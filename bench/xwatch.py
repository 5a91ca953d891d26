"""Sees menus appear the moment the X server maps them, and types keys from this process.

Polling with xdotool costs a process start (several ms) per look, and a sleep between looks
adds its own length to every figure. Here the X server reports each top-level window that is
mapped or unmapped (SubstructureNotify on the root), and the time is taken when the event is
read: what is left of the error is the server's delivery to this process, which latency()
measures with a window of its own. Keys go through the XTEST extension from the same connection,
so that the clock starts when the key leaves, not when an xdotool process gets round to it.

A Wine popup menu is an unnamed override-redirect window whose WM_CLASS instance is the
lower-case .exe name (as tests/e2e/harness.py finds them). Mapped means on screen; Wine paints
the content right after.

Python 3 standard library (ctypes) and the libX11 and libXtst that xdotool brings.
"""

from __future__ import annotations

import ctypes
import os
import select
import statistics
import time

_Window = ctypes.c_ulong
_SUBSTRUCTURE_NOTIFY = 1 << 19
_DESTROY_NOTIFY, _UNMAP_NOTIFY, _MAP_NOTIFY = 17, 18, 19


class _MapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", _Window),
        ("window", _Window),
        ("override_redirect", ctypes.c_int),  # from_configure in an UnmapNotify
    ]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", _MapEvent), ("pad", ctypes.c_long * 24)]


class _ClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# A window can be gone by the time it is asked about; Xlib's default handler would end the
# process over that.
_ignore_errors = _ERROR_HANDLER(lambda display, error: 0)


def _libraries() -> tuple[ctypes.CDLL, ctypes.CDLL]:
    x11 = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    signatures = {
        "XOpenDisplay": (ctypes.c_void_p, [ctypes.c_char_p]),
        "XCloseDisplay": (ctypes.c_int, [ctypes.c_void_p]),
        "XDefaultRootWindow": (_Window, [ctypes.c_void_p]),
        "XSelectInput": (ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.c_long]),
        "XConnectionNumber": (ctypes.c_int, [ctypes.c_void_p]),
        "XPending": (ctypes.c_int, [ctypes.c_void_p]),
        "XNextEvent": (ctypes.c_int, [ctypes.c_void_p, ctypes.POINTER(_Event)]),
        "XGetClassHint": (ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.POINTER(_ClassHint)]),
        "XFetchName": (ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.POINTER(ctypes.c_void_p)]),
        "XFree": (ctypes.c_int, [ctypes.c_void_p]),
        "XStringToKeysym": (ctypes.c_ulong, [ctypes.c_char_p]),
        "XKeysymToKeycode": (ctypes.c_ubyte, [ctypes.c_void_p, ctypes.c_ulong]),
        "XFlush": (ctypes.c_int, [ctypes.c_void_p]),
        "XSync": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        "XSetErrorHandler": (ctypes.c_void_p, [_ERROR_HANDLER]),
        "XCreateSimpleWindow": (_Window, [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int,
                                          ctypes.c_uint, ctypes.c_uint, ctypes.c_uint,
                                          ctypes.c_ulong, ctypes.c_ulong]),
        "XMapWindow": (ctypes.c_int, [ctypes.c_void_p, _Window]),
        "XUnmapWindow": (ctypes.c_int, [ctypes.c_void_p, _Window]),
        "XDestroyWindow": (ctypes.c_int, [ctypes.c_void_p, _Window]),
    }
    for name, (result, arguments) in signatures.items():
        function = getattr(x11, name)
        function.restype, function.argtypes = result, arguments
    xtst.XTestFakeKeyEvent.restype = ctypes.c_int
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    return x11, xtst


class Watcher:
    """One connection to DISPLAY that records map and unmap events of top-level windows."""

    def __init__(self, display: str | None = None):
        self._x, self._xtst = _libraries()
        self._x.XSetErrorHandler(_ignore_errors)
        name = (display or os.environ.get("DISPLAY", "")).encode()
        self._display = self._x.XOpenDisplay(name)
        if not self._display:
            raise OSError(f"cannot open X display {name.decode()!r}")
        root = self._x.XDefaultRootWindow(self._display)
        self._x.XSelectInput(self._display, root, _SUBSTRUCTURE_NOTIFY)
        self._x.XSync(self._display, 0)
        self._fd = self._x.XConnectionNumber(self._display)
        self._mapped: dict[int, bool] = {}  # window: override-redirect, for windows on screen
        self._seen: list[tuple[float, int, int]] = []  # (time, event type, window), unread

    def close(self) -> None:
        if self._display:
            self._x.XCloseDisplay(self._display)
            self._display = None

    def __enter__(self) -> Watcher:
        return self

    def __exit__(self, *exc) -> None:
        self.close()

    # Events

    def _drain(self, timeout: float) -> None:
        """Reads whatever events there are, waiting up to timeout for the first."""
        if not self._x.XPending(self._display):
            readable, _, _ = select.select([self._fd], [], [], max(timeout, 0))
            if not readable:
                return
        event = _Event()
        while self._x.XPending(self._display):
            self._x.XNextEvent(self._display, ctypes.byref(event))
            now = time.monotonic()
            window = event.xmap.window
            if event.type == _MAP_NOTIFY:
                self._mapped[window] = bool(event.xmap.override_redirect)
            elif event.type in (_UNMAP_NOTIFY, _DESTROY_NOTIFY):
                self._mapped.pop(window, None)
            else:
                continue
            self._seen.append((now, event.type, window))

    def forget(self) -> None:
        """Drops the events read so far; the next waits see only what happens from now on."""
        self._drain(0)
        self._seen.clear()

    def wait_menu(self, classname: str, timeout: float,
                  old: set[int] = frozenset()) -> tuple[int, float] | None:
        """The first menu window of classname mapped since the last forget() and not in old,
        with the time its MapNotify was read; None after timeout."""
        found = self._wait(
            lambda kind, window: kind == _MAP_NOTIFY and window not in old
            and self._is_menu(window, classname),
            timeout,
        )
        return (found[2], found[0]) if found else None

    def wait_gone(self, window: int, timeout: float) -> float | None:
        """When window was unmapped or destroyed (now, if that was read and dropped before);
        None after timeout."""
        self._drain(0)
        if window not in self._mapped and all(seen != window for _, _, seen in self._seen):
            return time.monotonic()
        found = self._wait(lambda kind, seen: seen == window and kind != _MAP_NOTIFY, timeout)
        return found[0] if found else None

    def _wait(self, match, timeout: float) -> tuple[float, int, int] | None:
        """The first event read, or to come within timeout, for which match(kind, window)."""
        deadline = time.monotonic() + timeout
        while True:
            while self._seen:
                event = self._seen.pop(0)
                if match(event[1], event[2]):
                    return event
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            self._drain(left)

    def _is_menu(self, window: int, classname: str) -> bool:
        if not self._mapped.get(window, False):
            return False
        hint = _ClassHint()
        if not self._x.XGetClassHint(self._display, window, ctypes.byref(hint)):
            return False
        instance = ctypes.string_at(hint.res_name).decode(errors="replace") if hint.res_name else ""
        for pointer in (hint.res_name, hint.res_class):
            if pointer:
                self._x.XFree(pointer)
        if instance != classname:
            return False
        name = ctypes.c_void_p()
        if self._x.XFetchName(self._display, window, ctypes.byref(name)) and name.value:
            title = ctypes.string_at(name.value)
            self._x.XFree(name)
            return not title
        return True

    # Keys

    def press(self, *keys: str) -> float:
        """Types keys (X keysym names: Down, Right, Return); returns when the first left."""
        codes = []
        for key in keys:
            code = self._x.XKeysymToKeycode(self._display, self._x.XStringToKeysym(key.encode()))
            if not code:
                raise ValueError(f"no key code for {key!r}")
            codes.append(code)
        sent = time.monotonic()
        for code in codes:
            self._xtst.XTestFakeKeyEvent(self._display, code, 1, 0)
            self._xtst.XTestFakeKeyEvent(self._display, code, 0, 0)
        self._x.XFlush(self._display)
        return sent

    # Resolution

    def latency(self, count: int = 50) -> float:
        """Median seconds from mapping a window of this connection's own to reading its
        MapNotify: the error left in every time taken here, short of the program's side."""
        root = self._x.XDefaultRootWindow(self._display)
        probe = self._x.XCreateSimpleWindow(self._display, root, 0, 0, 1, 1, 0, 0, 0)
        times = []
        try:
            for _ in range(count):
                self.forget()
                began = time.monotonic()
                self._x.XMapWindow(self._display, probe)
                self._x.XFlush(self._display)
                mapped = self._wait(lambda kind, w: kind == _MAP_NOTIFY and w == probe, 5)
                if mapped is None:
                    break
                times.append(mapped[0] - began)
                self._x.XUnmapWindow(self._display, probe)
                self._x.XFlush(self._display)
                self.wait_gone(probe, 5)
        finally:
            self._x.XDestroyWindow(self._display, probe)
            self._x.XSync(self._display, 0)
            self.forget()
        return statistics.median(times) if times else float("nan")
