#pragma once

// Owners for the Win32 handles this layer opens itself.

#include <windows.h>

#include "platform/unique_handle.h"

namespace win32 {

// Kernel objects: processes, threads, snapshots. Both 0 and INVALID_HANDLE_VALUE mean none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static void release(Handle h) {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
};
using UniqueKernelHandle = platform::UniqueHandle<KernelHandleTraits>;

// FindFirstFileW's search handle.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle empty() { return INVALID_HANDLE_VALUE; }
  static void release(Handle h) { ::FindClose(h); }
};
using UniqueFindHandle = platform::UniqueHandle<FindHandleTraits>;

struct FontTraits {
  using Handle = HFONT;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::DeleteObject(h); }
};
using UniqueFont = platform::UniqueHandle<FontTraits>;

struct DcTraits {
  using Handle = HDC;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::ReleaseDC(nullptr, h); }
};
// A device context from GetDC(nullptr): the screen's.
using UniqueScreenDc = platform::UniqueHandle<DcTraits>;

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::DestroyWindow(h); }
};
using UniqueWindow = platform::UniqueHandle<WindowTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::DestroyMenu(h); }
};
using UniqueMenu = platform::UniqueHandle<MenuTraits>;

struct KeyTraits {
  using Handle = HKEY;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::RegCloseKey(h); }
};
using UniqueKey = platform::UniqueHandle<KeyTraits>;

}  // namespace win32
