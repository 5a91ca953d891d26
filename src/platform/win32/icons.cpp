#include "platform/win32/icons.h"

#include <windows.h>

#include "platform/win32/icon_files.h"
#include "platform/win32/utf.h"

namespace win32 {
namespace {

HICON ToHicon(platform::IconId icon) {
  return reinterpret_cast<HICON>(icon);
}

platform::IconId FromHicon(HICON icon) {
  return reinterpret_cast<platform::IconId>(icon);
}

}  // namespace

platform::IconId Icons::ExtractIcon(const std::string& path, int index, int size) {
  return FromHicon(ReadProgramIconFile(Utf8ToWide(path), index, size));
}

platform::IconId Icons::LoadIconFile(const std::string& path, int size) {
  return FromHicon(ReadIcoIconFile(Utf8ToWide(path), size));
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
