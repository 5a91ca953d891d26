#include "platform/win32/registry.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/registry_text.h"
#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

using platform::RegKey;
using platform::RegResult;

// The registry limits key names to 255 characters and value names to 16383, so one buffer
// always fits.
constexpr DWORD kMaxKeyNameLength = 255;
// The highest UTF-16 unit: a name that begins with it sorts after every other.
constexpr wchar_t kLastUnit = 0xFFFF;
constexpr int kKeyBasicInformation = 0;  // KEY_INFORMATION_CLASS

// The key's own name, the last part of its path, through its handle; empty when it cannot be
// told.
std::wstring OwnKeyName(HKEY key) {
  using NtQueryKeyFn = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query = LookUp<NtQueryKeyFn>(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey");
  if (query == nullptr) return {};
  // KEY_BASIC_INFORMATION: the last write time, a title index, the name's length in bytes, then
  // the name.
  struct BasicInformation {
    LARGE_INTEGER last_write_time;
    ULONG title_index;
    ULONG name_length;
    wchar_t name[kMaxKeyNameLength + 1];
  } information{};
  ULONG size = 0;
  if (query(key, kKeyBasicInformation, &information, sizeof information, &size) != 0) return {};
  const std::size_t units =
      std::min<std::size_t>(information.name_length / sizeof(wchar_t), kMaxKeyNameLength + 1);
  return std::wstring(information.name, units);
}
constexpr DWORD kMaxValueNameLength = 16383;

HKEY ToHkey(RegKey key) {
  return reinterpret_cast<HKEY>(key);
}
RegKey FromHkey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

// One name that an enumeration gives, through a buffer that always fits it.
template <typename Enumerate>
RegResult EnumeratedName(DWORD max_length, std::string& name, Enumerate enumerate) {
  std::wstring buffer(max_length + 1, L'\0');
  DWORD length = max_length + 1;
  const LSTATUS result = enumerate(buffer.data(), &length);
  if (result != ERROR_SUCCESS) return result;
  buffer.resize(length);
  name = WideToUtf8(buffer);
  return ERROR_SUCCESS;
}

// IsWow64Process2 also knows emulation on ARM64; it is missing before Windows 10 1511, where
// IsWow64Process answers for x64 alone.
bool RunsUnderWow64() {
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (const auto is_wow64_2 = LookUp<IsWow64Process2Fn>(kernel, "IsWow64Process2")) {
    USHORT process = IMAGE_FILE_MACHINE_UNKNOWN;
    USHORT native = IMAGE_FILE_MACHINE_UNKNOWN;
    if (is_wow64_2(::GetCurrentProcess(), &process, &native)) {
      return process != IMAGE_FILE_MACHINE_UNKNOWN;
    }
  }
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// The Win32 error of an NT status, through ntdll's own table.
ULONG RtlStatusToError(LONG status) {
  using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(LONG);
  static const auto convert =
      LookUp<RtlNtStatusToDosErrorFn>(::GetModuleHandleW(L"ntdll.dll"), "RtlNtStatusToDosError");
  return convert == nullptr ? ERROR_ACCESS_DENIED : convert(status);
}

}  // namespace

bool Registry::HasSeparate64BitView() const {
  // A process does not move between systems, so one answer serves the whole run.
  static const bool separate = RunsUnderWow64();
  return separate;
}

RegResult Registry::OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                            RegKey* opened) {
  HKEY key = nullptr;
  const LSTATUS result = ::RegOpenKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, access, &key);
  if (result == ERROR_SUCCESS) *opened = FromHkey(key);
  return result;
}

RegResult Registry::OpenKeyItself(RegKey base, const std::string& path, std::uint32_t access,
                                  RegKey* opened) {
  HKEY key = nullptr;
  const LSTATUS result =
      ::RegOpenKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), REG_OPTION_OPEN_LINK, access, &key);
  if (result == ERROR_SUCCESS) *opened = FromHkey(key);
  return result;
}

RegResult Registry::RenameKey(RegKey key, const std::string& new_name) {
  using RegRenameKeyFn = LSTATUS(WINAPI*)(HKEY, LPCWSTR, LPCWSTR);
  static const auto rename =
      LookUp<RegRenameKeyFn>(::GetModuleHandleW(L"advapi32.dll"), "RegRenameKey");
  if (rename == nullptr) return ERROR_ACCESS_DENIED;
  // Wine 8's registry loses the next sibling key when a key is renamed to a name that sorts
  // between its own and that sibling's. A name that sorts after every sibling, then a rename
  // down to the one asked for, never does; on Windows it is one more rename.
  const std::wstring wanted = Utf8ToWide(new_name);
  const HKEY handle = ToHkey(key);
  const std::wstring name_before = OwnKeyName(handle);
  // Without its name, or with no room for one more unit, the key is renamed directly.
  if (name_before.empty() || wanted.size() >= kMaxKeyNameLength) {
    return rename(handle, nullptr, wanted.c_str());
  }
  const std::wstring passing = std::wstring(1, kLastUnit) + wanted;
  if (const LSTATUS up = rename(handle, nullptr, passing.c_str()); up != ERROR_SUCCESS) return up;
  const LSTATUS down = rename(handle, nullptr, wanted.c_str());
  if (down == ERROR_SUCCESS) return ERROR_SUCCESS;
  // The name is taken, or the rename failed: the key goes back to the name it had.
  rename(handle, nullptr, name_before.c_str());
  return down;
}

RegResult Registry::DeleteOpenKey(RegKey key) {
  using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
  static const auto nt_delete =
      LookUp<NtDeleteKeyFn>(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey");
  if (nt_delete == nullptr) return ERROR_ACCESS_DENIED;
  const LONG status = nt_delete(reinterpret_cast<HANDLE>(key));
  if (status == 0) return ERROR_SUCCESS;
  return static_cast<RegResult>(RtlStatusToError(status));
}

RegResult Registry::CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                              RegKey* opened) {
  HKEY key = nullptr;
  const LSTATUS result = ::RegCreateKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  if (result == ERROR_SUCCESS) *opened = FromHkey(key);
  return result;
}

RegResult Registry::ReadStoredValue(RegKey key, const std::string& name, std::size_t limit,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) {
  const std::wstring wide = Utf8ToWide(name);
  BYTE first[kFirstReadSize];
  DWORD size = sizeof first;
  DWORD stored = REG_NONE;
  LSTATUS result = ::RegQueryValueExW(ToHkey(key), wide.c_str(), nullptr, &stored, first, &size);
  // The value is larger: read again with room for it, for as long as it keeps growing.
  std::vector<BYTE> larger;
  while (result == ERROR_MORE_DATA) {
    if (size > limit) return ERROR_MORE_DATA;
    larger.resize(size);
    result = ::RegQueryValueExW(ToHkey(key), wide.c_str(), nullptr, &stored, larger.data(), &size);
  }
  if (result != ERROR_SUCCESS) return result;
  if (size > limit) return ERROR_MORE_DATA;
  const BYTE* bytes = larger.empty() ? first : larger.data();
  type = stored;
  data.assign(bytes, bytes + size);
  return ERROR_SUCCESS;
}

RegResult Registry::ReadValue(RegKey key, const std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> stored;
  const RegResult result = ReadStoredValue(key, name, SIZE_MAX, type, stored);
  if (result != ERROR_SUCCESS) return result;
  data = platform::SeamBytes(type, stored.data(), stored.size());
  return ERROR_SUCCESS;
}

RegResult Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  const std::vector<std::uint8_t> bytes = platform::StoredBytes(type, data, size);
  return ::RegSetValueExW(ToHkey(key), Utf8ToWide(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

RegResult Registry::DeleteValue(RegKey key, const std::string& name) {
  return ::RegDeleteValueW(ToHkey(key), Utf8ToWide(name).c_str());
}

RegResult Registry::EnumValueName(RegKey key, std::uint32_t index, std::string& name) {
  return EnumeratedName(kMaxValueNameLength, name, [&](wchar_t* buffer, DWORD* length) {
    return ::RegEnumValueW(ToHkey(key), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

RegResult Registry::DeleteTree(RegKey key, const std::string& subkey) {
  // An empty name would empty the key itself rather than delete a subkey.
  if (subkey.empty()) return ERROR_INVALID_PARAMETER;
  return ::RegDeleteTreeW(ToHkey(key), Utf8ToWide(subkey).c_str());
}

RegResult Registry::QueryInfoKey(RegKey key, std::uint32_t& subkeys) {
  DWORD count = 0;
  const LSTATUS result = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &count, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) subkeys = count;
  return result;
}

RegResult Registry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  return EnumeratedName(kMaxKeyNameLength, name, [&](wchar_t* buffer, DWORD* length) {
    return ::RegEnumKeyExW(ToHkey(key), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

RegResult Registry::CloseKey(RegKey key) {
  return ::RegCloseKey(ToHkey(key));
}

}  // namespace win32
