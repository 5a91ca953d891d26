#include "platform/win32/ids.h"
#include "platform/win32/utf.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

using Kind = platform::MenuItemSpec::Kind;
using Image = platform::MenuItemSpec::Image;

}  // namespace

platform::MenuId Windowing::CreatePopupMenu() {
  return FromHmenu(::CreatePopupMenu());
}

void Windowing::DestroyMenu(platform::MenuId menu) {
  ::DestroyMenu(ToHmenu(menu));
}

bool Windowing::AppendMenuItem(platform::MenuId menu, const platform::MenuItemSpec& item) {
  const HMENU target = ToHmenu(menu);
  const int count = ::GetMenuItemCount(target);
  if (count < 0) return false;
  std::wstring caption = Utf8ToWide(item.caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (item.kind == Kind::kSeparator) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.fType = MFT_STRING;
    info.dwTypeData = caption.data();
  }
  if (item.kind == Kind::kCommand) {
    info.fMask |= MIIM_ID;
    info.wID = item.command;
  }
  if (item.kind == Kind::kSubmenu) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = ToHmenu(item.submenu);
  }
  if (item.is_default) {
    info.fMask |= MIIM_STATE;
    info.fState = MFS_DEFAULT;
  }
  if (item.image == Image::kBitmap) {
    info.fMask |= MIIM_BITMAP;
    info.hbmpItem = reinterpret_cast<HBITMAP>(item.image_bitmap);
  } else if (item.image == Image::kDrawn) {
    info.fMask |= MIIM_BITMAP | MIIM_DATA;
    info.hbmpItem = HBMMENU_CALLBACK;
    info.dwItemData = item.image_data;
  }
  return ::InsertMenuItemW(target, static_cast<UINT>(count), TRUE, &info) != FALSE;
}

bool Windowing::TrackPopupMenu(platform::MenuId menu, std::uint32_t flags, platform::Point point,
                               platform::WindowId owner) {
  const HWND owner_window = ToHwnd(owner);
  // Without the owner in the foreground, a click elsewhere would leave the menu open.
  ::SetForegroundWindow(owner_window);
  const UniqueHook key_filter = HookMenuKeys();
  const bool shown =
      ::TrackPopupMenu(ToHmenu(menu), flags, point.x, point.y, 0, owner_window, nullptr) != FALSE;
  // Makes the owner's thread switch tasks properly, should the menu be opened again at once.
  ::PostMessageW(owner_window, WM_NULL, 0, 0);
  RethrowHandlerFailure();
  return shown;
}

}  // namespace win32
