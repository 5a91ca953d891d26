#pragma once

// Shared by the test helpers that must be seen running from outside: a window that is never
// shown, whose title a test looks for, and a message loop that lasts until it is closed.

#include <windows.h>

#include "platform/win32/handles.h"

namespace helpers {

inline LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// Creates the window, calls started() once it exists, and runs until the window is closed or
// the process is ended. Returns the exit code: 1 when the window could not be made.
template <typename Started>
int RunHiddenWindow(HINSTANCE instance, const wchar_t* class_name, const wchar_t* title,
                    Started started) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = QuitOnDestroy;
  window_class.hInstance = instance;
  window_class.lpszClassName = class_name;
  if (::RegisterClassW(&window_class) == 0) return 1;

  win32::UniqueWindow window(::CreateWindowExW(0, class_name, title, WS_POPUP, 0, 0, 1, 1, nullptr,
                                               nullptr, instance, nullptr));
  if (!window) return 1;
  started();

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  window.release();  // WM_DESTROY has run: the window is gone already
  return 0;
}

}  // namespace helpers
