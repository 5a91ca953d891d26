// Test helper: returns once a window has painted everything it had still to paint, so that a
// screenshot taken afterwards shows it whole.
//
// Usage: paint_wait CAPTION
//
// RedrawWindow with RDW_UPDATENOW sends each pending WM_PAINT of the window and its children to
// the window's thread and returns when that thread has handled them. Exits with 0 then, with 1
// when no top-level window has that caption, and with 2 on a usage error.

#include <windows.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace {

constexpr int kPainted = 0;
constexpr int kNoSuchWindow = 1;
constexpr int kUsage = 2;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> arguments = helpers::Arguments();
  if (arguments.size() != 2) return kUsage;
  const HWND window = ::FindWindowW(nullptr, arguments[1].c_str());
  if (window == nullptr) return kNoSuchWindow;
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return kPainted;
}
