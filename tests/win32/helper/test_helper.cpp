// The tests' stand-in program. Without arguments it waits to be ended. With
// "--marker FILE" it writes "ok" to FILE; with "--show-state FILE" it writes the show state it
// was started with; with "--command-line FILE" the UTF-16 units of its whole command line. A
// relative FILE is relative to the current directory. With "--break-away KEY" it starts a copy
// of itself outside its job and ends at once; that copy ("--delete-key-later KEY") deletes
// HKCU\KEY after 3 s, as an uninstaller's helper that finishes on its own would. With
// "--relaunch MS CODE" it starts a copy of itself in its own job and ends at once with
// kRelaunchedExit, as an uninstaller that relaunches itself does; the copy ("--exit-after MS
// CODE") ends MS later with CODE. With "--pid FILE" it writes its process id and waits to be
// ended.

#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/win32/windowing.h"

namespace {

constexpr DWORD kWaitToBeEnded = 60'000;
constexpr DWORD kKeyDeletedAfter = 3'000;
constexpr int kRelaunchedExit = 4;

bool WriteFile(const wchar_t* path, const std::string& content) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

// Starts a copy of this program with arguments; 0, or the error of the start.
int StartCopy(const std::wstring& arguments, DWORD flags) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::wstring command_line = L"\"" + std::wstring(self) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(self, command_line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &startup, &started)) {
    return static_cast<int>(::GetLastError());
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return 0;
}

int BreakAway(const wchar_t* key) {
  return StartCopy(L"--delete-key-later \"" + std::wstring(key) + L"\"", CREATE_BREAKAWAY_FROM_JOB);
}

int Relaunch(const wchar_t* ms, const wchar_t* code) {
  const int error = StartCopy(L"--exit-after " + std::wstring(ms) + L" " + code, 0);
  return error != 0 ? error : kRelaunchedExit;
}

int DeleteKeyLater(const wchar_t* key) {
  ::Sleep(kKeyDeletedAfter);
  return ::RegDeleteKeyW(HKEY_CURRENT_USER, key) == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    ::Sleep(kWaitToBeEnded);
    return 0;
  }
  const std::wstring_view mode = argv[1];
  if (mode == L"--break-away") return BreakAway(argv[2]);
  if (mode == L"--delete-key-later") return DeleteKeyLater(argv[2]);
  if (mode == L"--relaunch" && argc >= 4) return Relaunch(argv[2], argv[3]);
  if (mode == L"--exit-after" && argc >= 4) {
    ::Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    return static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  }
  if (mode == L"--pid") {
    if (!WriteFile(argv[2], std::to_string(::GetCurrentProcessId()))) return 1;
    ::Sleep(kWaitToBeEnded);
    return 0;
  }
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
