// Test helper: a process that does nothing until it is ended, to be listed in the process table
// under whatever name it is copied to ("My Tool.exe", "A&B.exe").
//
// Usage: idle_process [TITLE]
//
// It owns one hidden window named TITLE, so that a test can tell from outside that it runs. It
// ends when that window is closed, or when something terminates it.

#include <windows.h>

#include <string>
#include <vector>

#include "command_line.h"
#include "platform/win32/handles.h"

namespace {

constexpr wchar_t kClassName[] = L"TapwiseIdleProcess";

LRESULT CALLBACK IdleProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> arguments = helpers::Arguments();
  const std::wstring title = arguments.size() > 1 ? arguments[1] : std::wstring();

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = IdleProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  if (RegisterClassW(&window_class) == 0) return 1;

  // Never shown: its name is the sign, seen from outside, that the process is up.
  win32::UniqueWindow window(CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP, 0, 0, 1, 1,
                                             nullptr, nullptr, instance, nullptr));
  if (!window) return 1;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  window.release();  // WM_DESTROY has run: the window is gone already
  return 0;
}
