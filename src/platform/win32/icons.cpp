#include "platform/win32/icons.h"

#include <windows.h>
// after windows.h, which they need
#include <shlobj.h>

#include <cstdint>
#include <vector>

#include "platform/image_check.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

HICON ToHicon(platform::IconId icon) {
  return reinterpret_cast<HICON>(icon);
}

platform::IconId FromHicon(HICON icon) {
  return reinterpret_cast<platform::IconId>(icon);
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

}  // namespace win32
