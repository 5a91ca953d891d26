// Typing in popup menus (menu_keys.h).

#include "platform/win32/ids.h"
#include "platform/win32/menu_keys.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

// A noncharacter: no caption starts with it, so no access key matches it.
constexpr WCHAR kReselectChar = 0xFDD0;

// The filter and what the hook last saw, for the GUI thread's menus.
struct MenuKeys {
  platform::MenuKeyFilter* filter = nullptr;
  HWND key_window = nullptr;  // where the menu's keys go
  HMENU reselect_menu = nullptr;
  UINT reselect_position = 0;
  bool reselect_pending = false;
};
thread_local MenuKeys menu_keys;

LRESULT CALLBACK MenuKeyHook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* msg = reinterpret_cast<const MSG*>(lparam);
  const bool key = msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR);
  if (code == MSGF_MENU && key && menu_keys.filter != nullptr) {
    menu_keys.key_window = msg->hwnd;
    if (msg->message != WM_CHAR || msg->wParam != kReselectChar) {
      if (menu_keys.filter->FilterMenuKey(msg->message, msg->wParam)) return TRUE;
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

bool MenusSelectByHilite() {
  static const bool wine = [] {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

std::optional<LRESULT> AnswerReselection(WPARAM wparam, LPARAM lparam) {
  if (LOWORD(wparam) != kReselectChar) return std::nullopt;
  const bool ours =
      menu_keys.reselect_pending && reinterpret_cast<HMENU>(lparam) == menu_keys.reselect_menu;
  menu_keys.reselect_pending = false;
  if (!ours) return MAKELRESULT(0, MNC_IGNORE);
  return MAKELRESULT(menu_keys.reselect_position, MNC_SELECT);
}

UniqueHook Windowing::HookMenuKeys() {
  if (menu_keys.filter == nullptr) return UniqueHook();
  return UniqueHook(
      ::SetWindowsHookExW(WH_MSGFILTER, MenuKeyHook, nullptr, ::GetCurrentThreadId()));
}

void Windowing::SetMenuKeyFilter(platform::MenuKeyFilter* filter) {
  menu_keys.filter = filter;
}

platform::LResult Windowing::AnswerMenuChar(platform::WindowId owner, platform::MenuId menu,
                                            std::size_t position, platform::MenuCharAction action) {
  const auto at = static_cast<WORD>(position);
  if (action == platform::MenuCharAction::kChoose) return MAKELRESULT(at, MNC_EXECUTE);
  if (!MenusSelectByHilite()) return MAKELRESULT(at, MNC_SELECT);
  ::HiliteMenuItem(ToHwnd(owner), ToHmenu(menu), at, MF_BYPOSITION | MF_HILITE);
  RethrowHandlerFailure();
  return MAKELRESULT(0, MNC_IGNORE);
}

void Windowing::SelectInOpenMenu(platform::WindowId owner, platform::MenuId menu,
                                 std::size_t position) {
  const auto at = static_cast<UINT>(position);
  if (MenusSelectByHilite()) {
    ::HiliteMenuItem(ToHwnd(owner), ToHmenu(menu), at, MF_BYPOSITION | MF_HILITE);
    RethrowHandlerFailure();
    return;
  }
  menu_keys.reselect_menu = ToHmenu(menu);
  menu_keys.reselect_position = at;
  menu_keys.reselect_pending = true;
  const HWND target = menu_keys.key_window != nullptr ? menu_keys.key_window : ToHwnd(owner);
  ::PostMessageW(target, WM_CHAR, kReselectChar, 0);
}

}  // namespace win32
