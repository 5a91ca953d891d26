#pragma once

// The seam names windows and menus by opaque numbers; here they are the handles themselves.

#include <windows.h>

#include "platform/windowing.h"

namespace win32 {

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
