// Test helper: makes a registry link, which no .reg file and no reg.exe can make.
//
//   registry_link.exe ROOT VIEW LINK TARGET
//
// ROOT is HKCU or HKLM, VIEW 32 or 64, LINK the link's path under ROOT in that view, TARGET the
// path under the same root that the link leads to, as the kernel names it (the 64-bit view's
// key for HKLM). Exit code 0 when the link was made, 1 otherwise.

#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <string>
#include <vector>

#include "command_line.h"
#include "platform/unique_handle.h"

namespace {

constexpr int kMade = 0;
constexpr int kFailed = 1;
constexpr std::size_t kArgumentCount = 5;
constexpr wchar_t kLinkValue[] = L"SymbolicLinkValue";

struct KeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
using UniqueKey = platform::UniqueHandle<KeyTraits>;

struct LocalTraits {
  using Handle = LPWSTR;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::LocalFree(h); }
};
using UniqueLocalText = platform::UniqueHandle<LocalTraits>;

// "\Registry\User\<SID>": the user's hive, as the kernel names it.
std::wstring UserHive() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  const helpers::UniqueFileHandle token(raw);
  std::vector<BYTE> buffer(512);
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &size)) {
    return {};
  }
  LPWSTR text = nullptr;
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  if (!::ConvertSidToStringSidW(user->User.Sid, &text)) return {};
  const UniqueLocalText sid(text);
  return std::wstring(L"\\Registry\\User\\") + sid.get();
}

}  // namespace

int wmain() {
  const std::vector<std::wstring> args = helpers::Arguments();
  if (args.size() != kArgumentCount) return kFailed;
  const bool user = args[1] == L"HKCU";
  const REGSAM view = args[2] == L"64" ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
  const std::wstring hive = user ? UserHive() : L"\\Registry\\Machine";
  if (hive.empty()) return kFailed;
  const std::wstring target = hive + L"\\" + args[4];
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, args[3].c_str(), 0, nullptr,
                        REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | view, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS) {
    return kFailed;
  }
  const UniqueKey link(raw);
  const auto bytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  return ::RegSetValueExW(link.get(), kLinkValue, 0, REG_LINK,
                          reinterpret_cast<const BYTE*>(target.data()), bytes) == ERROR_SUCCESS
             ? kMade
             : kFailed;
}
