// Test helper: puts the mouse pointer at a known point and keeps Wine's desktop process alive.
//
// Usage: cursor_holder X Y TITLE
//
// The desktop process of a Wine prefix exits about a second after its last GUI client, and when
// it comes back it centres the pointer; and a pointer moved from outside Wine is not what
// GetCursorPos reports. So the tests run this program in each prefix: it owns a hidden window,
// which keeps the desktop up, and it sets the pointer through Wine itself. It runs until it is
// closed or its Wine server is ended. TITLE names its window, so that a harness can tell, from
// outside, that the window (and so the desktop process) is up.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cwchar>

#include "platform/unique_handle.h"

namespace {

constexpr wchar_t kClassName[] = L"TapwiseCursorHolder";
constexpr int kExpectedArgs = 4;
constexpr int kBadUsage = 2;

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::DestroyWindow(h); }
};
using UniqueWindow = platform::UniqueHandle<WindowTraits>;

struct ArgvTraits {
  using Handle = LPWSTR*;
  static Handle empty() { return nullptr; }
  static void release(Handle h) { ::LocalFree(h); }
};
using UniqueArgv = platform::UniqueHandle<ArgvTraits>;

bool ParseInt(const wchar_t* text, int& value) {
  wchar_t* end = nullptr;
  const long parsed = std::wcstol(text, &end, 10);
  if (end == text || *end != L'\0') return false;
  value = static_cast<int>(parsed);
  return true;
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  const UniqueArgv argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  int x = 0;
  int y = 0;
  if (!argv || argc != kExpectedArgs || !ParseInt(argv.get()[1], x) ||
      !ParseInt(argv.get()[2], y)) {
    return kBadUsage;
  }
  const wchar_t* title = argv.get()[3];

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = HolderProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  if (RegisterClassW(&window_class) == 0) return 1;

  // Never shown: it exists only so that the desktop process has a client.
  UniqueWindow window(CreateWindowExW(0, kClassName, title, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      instance, nullptr));
  if (!window) return 1;
  // Wine refuses this while something else grabs the pointer; the harness then moves it.
  SetCursorPos(x, y);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  window.release();  // WM_DESTROY has run: the window is gone already
  return 0;
}
