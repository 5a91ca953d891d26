#include "platform/win32/utf.h"

#include <windows.h>

#include <climits>

namespace win32 {
namespace {

// Both conversion functions count in int; longer text is not something the program handles.
bool FitsInt(std::size_t length) {
  return length <= static_cast<std::size_t>(INT_MAX);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty() || !FitsInt(utf8.size())) return {};
  const int length = static_cast<int>(utf8.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty() || !FitsInt(wide.size())) return {};
  const int length = static_cast<int>(wide.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
  return utf8;
}

}  // namespace win32
