#pragma once

// Shared by the test helpers: their arguments, and a log of the command lines they were started
// with, one UTF-8 line per start, appended so that several starts (or several helpers) can share
// one log file.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "platform/win32/handles.h"

namespace helpers {

struct ArgvTraits {
  using Handle = LPWSTR*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::LocalFree(h); }
};
using UniqueArgv = platform::UniqueHandle<ArgvTraits>;
using UniqueFileHandle = platform::UniqueHandle<win32::InvalidValueTraits<::CloseHandle>>;

// The program's arguments as the C runtime would split them, the program's name first.
inline std::vector<std::wstring> Arguments() {
  int count = 0;
  const UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!argv) return {};
  return std::vector<std::wstring>(argv.get(), argv.get() + count);
}

inline std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// This program's own path with ".log" in place of its extension: taskkill.exe logs to
// taskkill.log in its own directory.
inline std::wstring LogBesideModule() {
  constexpr DWORD kLongestPath = 32768;
  std::wstring path(kLongestPath, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), kLongestPath);
  path.resize(length);
  const std::size_t last = path.find_last_of(L".\\");
  if (last != std::wstring::npos && path[last] == L'.') path.resize(last);
  return path + L".log";
}

// Appends the line and a line feed. Opens and closes the file each time, so that the test can
// read it whenever the program has ended.
inline bool AppendLine(const std::wstring& log_path, const std::wstring& line) {
  const UniqueFileHandle file(::CreateFileW(log_path.c_str(), FILE_APPEND_DATA,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string bytes = ToUtf8(line) + "\n";
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) != 0 &&
         written == bytes.size();
}

// Appends this program's whole command line, exactly as it received it.
inline bool LogCommandLine(const std::wstring& log_path) {
  return AppendLine(log_path, ::GetCommandLineW());
}

}  // namespace helpers
