#pragma once

// Owners for the Win32 handles this layer opens itself, one alias per kind, each with the
// value that kind's functions give for "none".

#include <windows.h>

#include "platform/unique_handle.h"

namespace win32 {

// Kernel objects whose functions give null for none: processes and threads.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = platform::UniqueHandle<KernelHandleTraits>;

// Kernel objects whose functions give INVALID_HANDLE_VALUE for none: CreateFileW's files and
// CreateToolhelp32Snapshot's snapshots.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueFileHandle = platform::UniqueHandle<FileHandleTraits>;

// FindFirstFileW's search handle.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};
using UniqueFindHandle = platform::UniqueHandle<FindHandleTraits>;

struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = platform::UniqueHandle<FontTraits>;

struct DcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::ReleaseDC(nullptr, h); }
};
// A device context from GetDC(nullptr): the screen's.
using UniqueScreenDc = platform::UniqueHandle<DcTraits>;

// A window of a class whose procedure keeps a handler's failure rather than raising it
// (window_class.h), or of a system class, so destroying it raises nothing.
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = platform::UniqueHandle<WindowTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
using UniqueMenu = platform::UniqueHandle<MenuTraits>;

struct KeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
using UniqueKey = platform::UniqueHandle<KeyTraits>;

}  // namespace win32
