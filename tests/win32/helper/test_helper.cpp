// The tests' stand-in program. Without arguments it waits to be ended. With
// "--marker FILE" it writes "ok" to FILE; with "--show-state FILE" it writes the show state it
// was started with; with "--command-line FILE" the UTF-16 units of its whole command line. A
// relative FILE is relative to the current directory.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/win32/windowing.h"

namespace {

constexpr DWORD kWaitToBeEnded = 60'000;

bool WriteFile(const wchar_t* path, const std::string& content) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    ::Sleep(kWaitToBeEnded);
    return 0;
  }
  const std::wstring_view mode = argv[1];
  if (mode == L"--marker") return WriteFile(argv[2], "ok") ? 0 : 1;
  if (mode == L"--command-line") {
    const std::wstring_view line = ::GetCommandLineW();
    return WriteFile(argv[2], std::string(reinterpret_cast<const char*>(line.data()),
                                          line.size() * sizeof(wchar_t)))
               ? 0
               : 1;
  }
  if (mode == L"--show-state") {
    win32::Windowing windowing;
    return WriteFile(argv[2], std::to_string(windowing.StartupShowState())) ? 0 : 1;
  }
  return 2;
}
