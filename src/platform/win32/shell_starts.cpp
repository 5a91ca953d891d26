#include "platform/win32/shell_starts.h"

#include "platform/win32/lookup.h"

namespace win32 {

std::wstring SystemFolder() {
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(directory, length);
}

const ShellStarts& Shell() {
  static const ShellStarts starts = [] {
    const std::wstring folder = SystemFolder();
    if (folder.empty()) return ShellStarts{};
    const HMODULE shell = ::LoadLibraryW((folder + L"\\shell32.dll").c_str());
    return ShellStarts{LookUp<decltype(&::ShellExecuteW)>(shell, "ShellExecuteW"),
                       LookUp<decltype(&::ShellExecuteExW)>(shell, "ShellExecuteExW")};
  }();
  return starts;
}

}  // namespace win32
