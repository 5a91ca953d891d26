#include "platform/win32/launcher.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <sddl.h>

#include <cstdint>
#include <vector>

#include "platform/error_text.h"
#include "platform/win32/handles.h"
#include "platform/win32/lookup.h"
#include "platform/win32/message_waits.h"
#include "platform/win32/shell_starts.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

// Room for the longest text the system gives for an error.
constexpr DWORD kErrorTextSize = 1024;
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
constexpr std::size_t kProductCodeUnits = 38;
// The longest path a module's name can have.
constexpr DWORD kMaxOwnPathUnits = 32768;

// msi.dll by its full path in the system folder, so that no file of that name elsewhere is
// loaded in its place; none when it is not there.
UniqueModule LoadInstallerLibrary() {
  const std::wstring folder = SystemFolder();
  if (folder.empty()) return UniqueModule();
  return UniqueModule(
      ::LoadLibraryExW((folder + L"\\msi.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

// Loaded at the first question and kept for the rest of the run.
HMODULE InstallerLibrary() {
  static const UniqueModule msi = LoadInstallerLibrary();
  return msi.get();
}

}  // namespace

std::optional<int> Launcher::InstallerProductState(const std::string& product_code) {
  // INSTALLSTATE is an enum, passed as an int.
  using QueryProductState = int(WINAPI*)(LPCWSTR);
  // Loaded at the first question and kept for the rest of the run.
  const auto query = LookUp<QueryProductState>(InstallerLibrary(), "MsiQueryProductStateW");
  if (query == nullptr) return std::nullopt;
  return static_cast<int>(query(Utf8ToWide(product_code).c_str()));
}

std::optional<std::vector<std::string>> Launcher::InstallerProducts() {
  using EnumProducts = UINT(WINAPI*)(DWORD, LPWSTR);
  const auto enumerate = LookUp<EnumProducts>(InstallerLibrary(), "MsiEnumProductsW");
  if (enumerate == nullptr) return std::nullopt;
  std::vector<std::string> products;
  for (DWORD index = 0;; ++index) {
    wchar_t code[kProductCodeUnits + 1] = {};
    const UINT result = enumerate(index, code);
    if (result == ERROR_NO_MORE_ITEMS) return products;
    if (result != ERROR_SUCCESS) return std::nullopt;
    products.push_back(WideToUtf8(code));
  }
}

void Launcher::Pause(std::uint32_t ms) {
  WaitHandlingMessages(nullptr, ms);
}

bool Launcher::Elevated() {
  HANDLE token_handle = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token_handle)) return false;
  const UniqueKernelHandle token(token_handle);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) {
    return false;
  }
  return elevation.TokenIsElevated != 0;
}

std::string Launcher::OwnProgramFile() {
  // Long paths are allowed for: the buffer grows until the whole path fits.
  for (DWORD size = MAX_PATH; size <= kMaxOwnPathUnits; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) return WideToUtf8(std::wstring_view(path.data(), length));
  }
  return {};
}

std::string Launcher::OwnAccount() {
  HANDLE token_handle = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token_handle)) return {};
  const UniqueKernelHandle token(token_handle);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<std::uint8_t> user(size);
  if (!::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) return {};
  LPWSTR text = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text)) {
    return {};
  }
  const LocalMemory owned_text(text);
  return WideToUtf8(text);
}

std::string Launcher::SystemDirectory() {
  return WideToUtf8(SystemFolder());
}

std::string Launcher::WindowsDirectory() {
  // The shared Windows folder: GetWindowsDirectory may give a user's own on a terminal server.
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemWindowsDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToUtf8(std::wstring_view(directory, length));
}

std::optional<std::string> Launcher::EnvironmentVariable(const std::string& name) {
  const std::wstring wide_name = Utf8ToWide(name);
  // An empty value still needs room for its terminator, so 0 means "not set".
  DWORD needed = ::GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  std::wstring value;
  while (needed != 0) {
    value.resize(needed);
    const DWORD written = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(), needed);
    if (written < needed) {
      value.resize(written);
      return WideToUtf8(value);
    }
    needed = written;  // it grew meanwhile
  }
  return std::nullopt;
}

std::string Launcher::ErrorText(platform::StartError error, const std::string& path) {
  // Inserts are left alone: the text may name more of them than there are arguments.
  wchar_t text[kErrorTextSize];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, kErrorTextSize, nullptr);
  std::wstring_view message(text, length);
  while (!message.empty() &&
         (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.remove_suffix(1);
  }
  return platform::WithPathInserted(WideToUtf8(message), path);
}

}  // namespace win32
