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

#include <cwchar>
#include <string>
#include <vector>

#include "command_line.h"
#include "hidden_window.h"

namespace {

constexpr wchar_t kClassName[] = L"TapwiseCursorHolder";
constexpr std::size_t kExpectedArgs = 4;
constexpr int kBadUsage = 2;

bool ParseInt(const std::wstring& text, int& value) {
  wchar_t* end = nullptr;
  const long parsed = std::wcstol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != L'\0') return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> arguments = helpers::Arguments();
  int x = 0;
  int y = 0;
  if (arguments.size() != kExpectedArgs || !ParseInt(arguments[1], x) ||
      !ParseInt(arguments[2], y)) {
    return kBadUsage;
  }
  // Never shown: it exists only so that the desktop process has a client. Wine refuses
  // SetCursorPos while something else grabs the pointer; the harness then moves it.
  return helpers::RunHiddenWindow(instance, kClassName, arguments[3].c_str(),
                                  [x, y] { ::SetCursorPos(x, y); });
}
