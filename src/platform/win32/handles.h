#pragma once

// Owners for the Win32 handles this layer opens itself, one alias per kind: the value that
// kind's functions give for "none", and the function that gives one back.

#include <windows.h>

#include <memory>

#include "platform/unique_handle.h"

namespace win32 {

// Kinds whose functions give zero (null) for none: most of them.
template <typename H, auto kClose>
struct HandleTraits {
  using Handle = H;
  static Handle Invalid() { return Handle{}; }
  static void Close(Handle h) noexcept { kClose(h); }
};

// Kinds whose functions give INVALID_HANDLE_VALUE for none: files, searches, Toolhelp snapshots.
template <auto kClose>
struct InvalidValueTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { kClose(h); }
};

// A device context from GetDC(nullptr) goes back to the screen it came from.
inline void ReleaseScreenDc(HDC dc) {
  ::ReleaseDC(nullptr, dc);
}

// Libraries this layer loads itself.
inline void ReleaseModule(HMODULE module) {
  ::FreeLibrary(module);
}
using UniqueModule = platform::UniqueHandle<HandleTraits<HMODULE, ReleaseModule>>;

// Memory the system allocated for the caller with LocalAlloc: security descriptors, their text.
struct LocalFreer {
  void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreer>;

// Processes and threads.
using UniqueKernelHandle = platform::UniqueHandle<HandleTraits<HANDLE, ::CloseHandle>>;
// FindFirstFileW's search.
using UniqueFindHandle = platform::UniqueHandle<InvalidValueTraits<::FindClose>>;
// CreateFileW's files and CreateToolhelp32Snapshot's snapshots.
using UniqueFileHandle = platform::UniqueHandle<InvalidValueTraits<::CloseHandle>>;
// Bitmaps and memory device contexts this layer makes for menu pictures.
using UniqueBitmap = platform::UniqueHandle<HandleTraits<HBITMAP, ::DeleteObject>>;
using UniqueMemoryDc = platform::UniqueHandle<HandleTraits<HDC, ::DeleteDC>>;
using UniqueFont = platform::UniqueHandle<HandleTraits<HFONT, ::DeleteObject>>;
using UniqueScreenDc = platform::UniqueHandle<HandleTraits<HDC, ReleaseScreenDc>>;
// Icons this layer extracts before the icon seam's owner takes them.
using UniqueHicon = platform::UniqueHandle<HandleTraits<HICON, ::DestroyIcon>>;

// An object selected into a device context for a scope: what was selected before goes back.
struct SelectionTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  void Close(Handle previous) const noexcept { ::SelectObject(dc, previous); }
  HDC dc = nullptr;
};
using UniqueSelection = platform::UniqueHandle<SelectionTraits>;

inline UniqueSelection Select(HDC dc, HGDIOBJ object) {
  return UniqueSelection(SelectionTraits{dc}, ::SelectObject(dc, object));
}

// The message filter that sees the keys typed into menus.
using UniqueHook = platform::UniqueHandle<HandleTraits<HHOOK, ::UnhookWindowsHookEx>>;
// A window of a class whose procedure keeps a handler's failure rather than raising it
// (window_class.h), or of a system class, so destroying it raises nothing.
using UniqueWindow = platform::UniqueHandle<HandleTraits<HWND, ::DestroyWindow>>;

}  // namespace win32
