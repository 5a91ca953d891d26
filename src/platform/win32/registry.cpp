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
// The registry limits key names to 255 characters, so one buffer always fits.
constexpr DWORD kMaxKeyNameLength = 255;

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

// GetProcAddress gives a generic function pointer; going through void(*)() keeps the compiler
// from warning about the cast to the real signature.
template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// IsWow64Process2 also knows emulation on ARM64; it is missing before Windows 10 1511, where
// IsWow64Process answers for x64 alone.
bool RunsUnderWow64() {
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (const auto is_wow64_2 = Lookup<IsWow64Process2Fn>(kernel, "IsWow64Process2")) {
    USHORT process = IMAGE_FILE_MACHINE_UNKNOWN;
    USHORT native = IMAGE_FILE_MACHINE_UNKNOWN;
    if (is_wow64_2(::GetCurrentProcess(), &process, &native)) {
      return process != IMAGE_FILE_MACHINE_UNKNOWN;
    }
  }
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool Registry::HasSeparate64BitView() const {
  // A process does not move between systems, so one answer serves the whole run.
  static const bool separate = RunsUnderWow64();
  return separate;
}

RegResult Registry::OpenKey(RegKey base, const std::string& path, std::uint32_t access,
                            RegKey& opened) {
  Forget();
  HKEY key = nullptr;
  const LSTATUS result = ::RegOpenKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, access, &key);
  if (result == ERROR_SUCCESS) opened = FromHkey(key);
  return result;
}

RegResult Registry::CreateKey(RegKey base, const std::string& path, std::uint32_t access,
                              RegKey& opened) {
  Forget();
  HKEY key = nullptr;
  const LSTATUS result = ::RegCreateKeyExW(ToHkey(base), Utf8ToWide(path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  if (result == ERROR_SUCCESS) opened = FromHkey(key);
  return result;
}

const Registry::LastRead& Registry::Read(RegKey key, const std::string& name) {
  if (last_.key == key && last_.key != platform::kNoKey && last_.name == name) return last_;
  RawValue value;
  last_.key = key;
  last_.name = name;
  last_.result = ReadRaw(ToHkey(key), Utf8ToWide(name), value);
  last_.type = value.type;
  last_.bytes = last_.result == ERROR_SUCCESS ? ToSeamBytes(value) : std::vector<BYTE>{};
  return last_;
}

RegResult Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  const LastRead& value = Read(key, name);
  // The query that takes the data ends the read.
  if (data != nullptr) Forget();
  if (value.result != ERROR_SUCCESS) return value.result;
  const auto needed = static_cast<std::uint32_t>(value.bytes.size());
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return ERROR_SUCCESS;
  const std::uint32_t capacity = *size;
  *size = needed;
  if (data == nullptr) return ERROR_SUCCESS;
  if (capacity < needed) return ERROR_MORE_DATA;
  std::copy(value.bytes.begin(), value.bytes.end(), data);
  return ERROR_SUCCESS;
}

RegResult Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  Forget();
  const std::vector<BYTE> bytes = ToStoreBytes(type, data, size);
  return ::RegSetValueExW(ToHkey(key), Utf8ToWide(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

RegResult Registry::DeleteValue(RegKey key, const std::string& name) {
  Forget();
  return ::RegDeleteValueW(ToHkey(key), Utf8ToWide(name).c_str());
}

RegResult Registry::QueryInfoKey(RegKey key, std::uint32_t& subkeys) {
  Forget();
  DWORD count = 0;
  const LSTATUS result = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &count, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) subkeys = count;
  return result;
}

RegResult Registry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  Forget();
  std::wstring buffer(kMaxKeyNameLength + 1, L'\0');
  DWORD length = kMaxKeyNameLength + 1;
  const LSTATUS result = ::RegEnumKeyExW(ToHkey(key), index, buffer.data(), &length, nullptr,
                                         nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) return result;
  buffer.resize(length);
  name = WideToUtf8(buffer);
  return ERROR_SUCCESS;
}

RegResult Registry::CloseKey(RegKey key) {
  Forget();
  return ::RegCloseKey(ToHkey(key));
}

}  // namespace win32
