#include "platform/win32/icons.h"

#include <windows.h>
// after windows.h, which they need
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/image_check.h"
#include "platform/win32/handles.h"
#include "platform/win32/registry.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

constexpr DWORD kLongestPath = 32768;  // in characters, with the "\\?\" form's room

HICON ToHicon(platform::IconId icon) {
  return reinterpret_cast<HICON>(icon);
}

platform::IconId FromHicon(HICON icon) {
  return reinterpret_cast<platform::IconId>(icon);
}

// The image path of one process; empty when it cannot be opened to ask (a protected one).
std::wstring ImageOf(DWORD process_id) {
  const UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return {};
  std::wstring path(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

// Whether the file holds the whole program image its headers describe.
bool IsWholeImage(const std::wstring& path) {
  const UniqueFileHandle file(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return false;
  std::vector<std::uint8_t> head(platform::kImageHeadBytes);
  DWORD read = 0;
  if (!::ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) {
    return false;
  }
  head.resize(read);
  return platform::HoldsWholeImage(head, static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace

platform::IconId Icons::ExtractIcon(const std::string& path, int index, int size) {
  const std::wstring wide = Utf8ToWide(path);
  if (!IsWholeImage(wide)) return platform::kNoIcon;
  UniqueHicon icon;
  const UINT sizes = MAKELONG(size, size);
  const HRESULT result = ::SHDefExtractIconW(wide.c_str(), index, 0, icon.put(), nullptr, sizes);
  if (result != S_OK) return platform::kNoIcon;
  return FromHicon(icon.release());
}

platform::IconId Icons::LoadIconFile(const std::string& path, int size) {
  return FromHicon(static_cast<HICON>(
      ::LoadImageW(nullptr, Utf8ToWide(path).c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
}

platform::IconId Icons::GenericIcon(int size) {
  // The shared system icon is never destroyed; the caller gets a copy of its own.
  const HANDLE shared = ::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, LR_SHARED);
  if (shared == nullptr) return platform::kNoIcon;
  return FromHicon(static_cast<HICON>(::CopyImage(shared, IMAGE_ICON, size, size, 0)));
}

void Icons::DestroyIcon(platform::IconId icon) noexcept {
  if (icon != platform::kNoIcon) ::DestroyIcon(ToHicon(icon));
}

bool Icons::IsFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Icons::IsRemoteDrive(char letter) {
  const char upper =
      (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
  if (upper < 'A' || upper > 'Z') return false;
  std::atomic<DriveKind>& known = drives_[static_cast<std::size_t>(upper - 'A')];
  if (const DriveKind kind = known.load(); kind != DriveKind::kUnknown) {
    return kind == DriveKind::kRemote;
  }
  const wchar_t root[] = {static_cast<wchar_t>(upper), L':', L'\\', L'\0'};
  const bool remote = ::GetDriveTypeW(root) == DRIVE_REMOTE;
  known.store(remote ? DriveKind::kRemote : DriveKind::kLocal);
  return remote;
}

std::string Icons::ProcessImagePath(const std::string& exe_name) {
  const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  const std::wstring wanted = Utf8ToWide(exe_name);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL read = ::Process32FirstW(snapshot.get(), &entry); read;
       read = ::Process32NextW(snapshot.get(), &entry)) {
    const std::size_t length = ::wcsnlen(entry.szExeFile, MAX_PATH);
    // The first process of the name counts, even when it will not tell its image.
    if (std::wstring_view(entry.szExeFile, length) == wanted) {
      return WideToUtf8(ImageOf(entry.th32ProcessID));
    }
  }
  return {};
}

std::optional<std::string> Icons::Environment(const std::string& name) {
  const std::wstring wide = Utf8ToWide(name);
  const DWORD needed = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring value(needed, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  value.resize(length);
  return WideToUtf8(value);
}

std::string Icons::SystemDirectory() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToUtf8(std::wstring_view(path, length));
}

bool Icons::Is64BitSystem() {
  return Registry().HasSeparate64BitView();
}

}  // namespace win32
