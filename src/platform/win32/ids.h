#pragma once

// The seam names windows and menus by opaque numbers; here they are the handles themselves.

#include <windows.h>

#include <cstddef>

#include "platform/windowing.h"

namespace win32 {

// WM_DPICHANGED's suggested frame reaches the framework as the RECT the system gave.
static_assert(sizeof(RECT) == sizeof(platform::Rect));
static_assert(offsetof(RECT, left) == offsetof(platform::Rect, left));
static_assert(offsetof(RECT, top) == offsetof(platform::Rect, top));
static_assert(offsetof(RECT, right) == offsetof(platform::Rect, right));
static_assert(offsetof(RECT, bottom) == offsetof(platform::Rect, bottom));

inline HWND ToHwnd(platform::WindowId window) {
  return reinterpret_cast<HWND>(window);
}
inline platform::WindowId FromHwnd(HWND window) {
  return reinterpret_cast<platform::WindowId>(window);
}
inline HMENU ToHmenu(platform::MenuId menu) {
  return reinterpret_cast<HMENU>(menu);
}
inline platform::MenuId FromHmenu(HMENU menu) {
  return reinterpret_cast<platform::MenuId>(menu);
}

}  // namespace win32
