#include "platform/win32/registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/utf.h"

namespace win32 {
namespace {

using platform::RegKey;
using platform::RegResult;

// Most values fit at the first try, which saves a round trip to the registry for the size.
constexpr DWORD kFirstReadSize = 512;

HKEY ToHkey(RegKey key) {
  return reinterpret_cast<HKEY>(key);
}
RegKey FromHkey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// Reads the whole value as stored, growing the buffer until it fits.
RegResult ReadRaw(HKEY key, const std::wstring& name, RawValue& value) {
  DWORD size = kFirstReadSize;
  for (;;) {
    value.bytes.resize(size);
    const LSTATUS result =
        ::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return result;
    value.bytes.resize(size);
    return ERROR_SUCCESS;
  }
}

// Text goes up as UTF-8, every zero wchar kept as a zero byte. A trailing odd byte is not part
// of any wchar and is dropped.
std::vector<BYTE> ToSeamBytes(const RawValue& value) {
  if (!IsText(value.type)) return value.bytes;
  std::wstring wide(value.bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), value.bytes.data(), wide.size() * sizeof(wchar_t));
  const std::string utf8 = WideToUtf8(wide);
  return std::vector<BYTE>(utf8.begin(), utf8.end());
}

// Text comes down as UTF-16 and always ends with a zero wchar.
std::vector<BYTE> ToStoreBytes(DWORD type, const std::uint8_t* data, std::uint32_t size) {
  if (size == 0 || data == nullptr) {
    if (!IsText(type)) return {};
    return std::vector<BYTE>(sizeof(wchar_t), 0);
  }
  if (!IsText(type)) return std::vector<BYTE>(data, data + size);
  std::wstring wide = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  if (wide.empty() || wide.back() != L'\0') wide.push_back(L'\0');
  const auto* first = reinterpret_cast<const BYTE*>(wide.data());
  return std::vector<BYTE>(first, first + wide.size() * sizeof(wchar_t));
}

}  // namespace

RegResult Registry::OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                            RegKey& opened) {
  HKEY key = nullptr;
  const LSTATUS result = ::RegOpenKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, access, &key);
  if (result == ERROR_SUCCESS) opened = FromHkey(key);
  return result;
}

RegResult Registry::CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                              RegKey& opened) {
  HKEY key = nullptr;
  const LSTATUS result = ::RegCreateKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  if (result == ERROR_SUCCESS) opened = FromHkey(key);
  return result;
}

RegResult Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  RawValue value;
  const RegResult result = ReadRaw(ToHkey(key), Utf8ToWide(name), value);
  if (result != ERROR_SUCCESS) return result;
  const std::vector<BYTE> bytes = ToSeamBytes(value);
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return ERROR_SUCCESS;
  const std::uint32_t capacity = *size;
  *size = needed;
  if (data == nullptr) return ERROR_SUCCESS;
  if (capacity < needed) return ERROR_MORE_DATA;
  std::copy(bytes.begin(), bytes.end(), data);
  return ERROR_SUCCESS;
}

RegResult Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  const std::vector<BYTE> bytes = ToStoreBytes(type, data, size);
  return ::RegSetValueExW(ToHkey(key), Utf8ToWide(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

RegResult Registry::DeleteValue(RegKey key, const std::string& name) {
  return ::RegDeleteValueW(ToHkey(key), Utf8ToWide(name).c_str());
}

RegResult Registry::QueryInfoKey(RegKey key, std::uint32_t& subkeys) {
  DWORD count = 0;
  const LSTATUS result = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &count, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) subkeys = count;
  return result;
}

RegResult Registry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  DWORD longest = 0;
  const LSTATUS info = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr, &longest,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (info != ERROR_SUCCESS) return info;
  std::wstring buffer(longest + 1, L'\0');
  DWORD length = longest + 1;
  const LSTATUS result = ::RegEnumKeyExW(ToHkey(key), index, buffer.data(), &length, nullptr,
                                         nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) return result;
  buffer.resize(length);
  name = WideToUtf8(buffer);
  return ERROR_SUCCESS;
}

RegResult Registry::CloseKey(RegKey key) {
  return ::RegCloseKey(ToHkey(key));
}

}  // namespace win32
