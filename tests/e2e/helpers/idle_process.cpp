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
#include "hidden_window.h"

namespace {

constexpr wchar_t kClassName[] = L"TapwiseIdleProcess";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> arguments = helpers::Arguments();
  const std::wstring title = arguments.size() > 1 ? arguments[1] : std::wstring();
  // Never shown: its name is the sign, seen from outside, that the process is up.
  return helpers::RunHiddenWindow(instance, kClassName, title.c_str(), [] {});
}
