// Pictures in menus: themed menus get 32-bit premultiplied-alpha bitmaps in hbmpItem; others
// ask their owner to draw each picture (HBMMENU_CALLBACK, WM_MEASUREITEM and WM_DRAWITEM).

#include <windows.h>
// after windows.h, which it needs
#include <uxtheme.h>

#include <cstdint>

#include "platform/win32/handles.h"
#include "platform/win32/ids.h"
#include "platform/win32/lookup.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

constexpr wchar_t kMenuClass[] = L"#32768";  // the class of the system's popup menu windows
constexpr int kClassNameLength = 16;
constexpr WORD kBitsPerPixel = 32;
constexpr std::uint32_t kAlphaShift = 24;
constexpr std::uint32_t kOpaque = 0xFFu << kAlphaShift;
constexpr std::uint32_t kColourMask = 0x00FFFFFFu;
constexpr int kSidesPerMargin = 4;  // a picture's margins together are a quarter of its size

// Wine exports this from its ntdll; Windows does not.
bool RunsOnWine() {
  return LookUp<void (*)()>(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool ThemeActive() {
  using ThemeCheckFn = BOOL(WINAPI*)();
  const HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll");
  const auto is_app_themed = LookUp<ThemeCheckFn>(uxtheme, "IsAppThemed");
  const auto is_theme_active = LookUp<ThemeCheckFn>(uxtheme, "IsThemeActive");
  return is_app_themed != nullptr && is_theme_active != nullptr && is_app_themed() &&
         is_theme_active();
}

// A top-down 32-bit DIB section of size pixels, and its pixels.
UniqueBitmap NewDib(int size, std::uint32_t*& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = kBitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  pixels = static_cast<std::uint32_t*>(bits);
  return bitmap;
}

// Draws the icon's picture, or its mask, onto a zeroed DIB. An icon with an alpha channel
// leaves premultiplied pixels; one without leaves alpha 0 everywhere.
UniqueBitmap DrawnDib(HICON icon, int size, UINT how, std::uint32_t*& pixels) {
  UniqueBitmap bitmap = NewDib(size, pixels);
  const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return UniqueBitmap();
  const UniqueSelection selected = Select(dc.get(), bitmap.get());
  ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, how);
  ::GdiFlush();
  return bitmap;
}

// An icon without alpha is opaque wherever its mask is black.
void AlphaFromMask(HICON icon, int size, std::uint32_t* pixels) {
  std::uint32_t* mask = nullptr;
  const UniqueBitmap masked = DrawnDib(icon, size, DI_MASK, mask);
  if (!masked) return;
  for (int i = 0; i < size * size; ++i) {
    pixels[i] = (mask[i] & kColourMask) == 0 ? (pixels[i] | kOpaque) : 0;
  }
}

}  // namespace

platform::MenuImageMode Windowing::MenuImages() {
  if (!RunsOnWine() && ThemeActive()) return platform::MenuImageMode::kBlendedBitmaps;
  return platform::MenuImageMode::kOwnerDrawn;
}

bool Windowing::ReadMenuImageRequest(platform::MessageId id, platform::LParam lparam,
                                     platform::MenuImageRequest& request) {
  if (lparam == 0) return false;
  if (id == WM_MEASUREITEM) {
    const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam);
    if (measure->CtlType != ODT_MENU) return false;
    request = platform::MenuImageRequest{false, measure->itemData};
    return true;
  }
  if (id == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (draw->CtlType != ODT_MENU) return false;
    request = platform::MenuImageRequest{true, draw->itemData};
    return true;
  }
  return false;
}

void Windowing::AnswerMenuImageSize(platform::LParam lparam, int size) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
  // Room either side, or Wine sets the caption against the picture.
  measure->itemWidth = static_cast<UINT>(size + size / kSidesPerMargin);
  measure->itemHeight = static_cast<UINT>(size);
}

void Windowing::DrawMenuImage(platform::LParam lparam, platform::IconId icon, int size) {
  if (icon == platform::kNoIcon) return;
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  const RECT& place = draw->rcItem;
  // Centred in the place the menu keeps for it, or at its left where that is a whole row.
  const int height = place.bottom - place.top;
  const int width = place.right - place.left;
  const int top = place.top + (height - size) / 2;
  const int left =
      width < 2 * size ? place.left + (width - size) / 2 : place.left + (height - size) / 2;
  ::DrawIconEx(draw->hDC, left, top, reinterpret_cast<HICON>(icon), size, size, 0, nullptr,
               DI_NORMAL);
}

platform::BitmapId Windowing::NewMenuBitmap(platform::IconId icon, int size) {
  std::uint32_t* pixels = nullptr;
  if (icon == platform::kNoIcon) {
    UniqueBitmap blank = NewDib(size, pixels);
    return reinterpret_cast<platform::BitmapId>(blank.release());
  }
  const HICON hicon = reinterpret_cast<HICON>(icon);
  UniqueBitmap bitmap = DrawnDib(hicon, size, DI_NORMAL, pixels);
  if (!bitmap) return platform::kNoBitmap;
  bool has_alpha = false;
  for (int i = 0; i < size * size && !has_alpha; ++i) has_alpha = (pixels[i] >> kAlphaShift) != 0;
  if (!has_alpha) AlphaFromMask(hicon, size, pixels);
  return reinterpret_cast<platform::BitmapId>(bitmap.release());
}

void Windowing::DeleteBitmap(platform::BitmapId bitmap) noexcept {
  if (bitmap != platform::kNoBitmap) ::DeleteObject(reinterpret_cast<HBITMAP>(bitmap));
}

bool Windowing::SetMenuItemBitmap(platform::MenuId menu, std::uint16_t command,
                                  platform::BitmapId bitmap) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = reinterpret_cast<HBITMAP>(bitmap);
  return ::SetMenuItemInfoW(ToHmenu(menu), command, FALSE, &info) != FALSE;
}

namespace {

BOOL CALLBACK RedrawIfMenu(HWND window, LPARAM) {
  wchar_t name[kClassNameLength] = {};
  if (::GetClassNameW(window, name, kClassNameLength) > 0 && ::lstrcmpW(name, kMenuClass) == 0 &&
      ::IsWindowVisible(window)) {
    ::InvalidateRect(window, nullptr, TRUE);
  }
  return TRUE;
}

}  // namespace

void Windowing::RedrawOpenMenus() {
  ::EnumThreadWindows(::GetCurrentThreadId(), RedrawIfMenu, 0);
}

}  // namespace win32
