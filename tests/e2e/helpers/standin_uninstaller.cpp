// Test helper: stands in for a program's uninstaller. It removes nothing; it only appends the
// command line it was started with to a log, so that a test sees exactly what reached it.
//
// Usage: standin_uninstaller [ARGUMENT...] [--log PATH] [ARGUMENT...]
//
// Without --log, the log is standin_uninstaller.log beside the program. Exits with 0 once the
// line is written, 1 when it could not be.

#include <windows.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace {

constexpr wchar_t kLogSwitch[] = L"--log";

std::wstring LogPath(const std::vector<std::wstring>& arguments) {
  for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == kLogSwitch) return arguments[i + 1];
  }
  return helpers::LogBesideModule();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return helpers::LogCommandLine(LogPath(helpers::Arguments())) ? 0 : 1;
}
