#pragma once

// Keys typed into the popup menus of the GUI thread: the message filter that shows them to the
// program first, and how a selection is moved for a key the filter kept.
//
// Windows documents WM_MENUCHAR for a key that matches no access key, and its answer
// MNC_SELECT, which selects the item at the answer's low word. A key kept from the menu (a
// blank or Backspace in the typed text) brings no WM_MENUCHAR, so the filter posts one
// character that no text holds: the menu finds no access key for it and sends WM_MENUCHAR, which
// the window procedure answers with the selection waiting.
//
// Wine 8 treats MNC_SELECT as MNC_IGNORE, and moves the selection of an open popup on
// HiliteMenuItem, which Microsoft documents for menu bars only. That path is taken under Wine
// alone, told by MenusSelectByHilite.

#include <windows.h>

#include <optional>

#include "platform/windowing.h"

namespace win32 {

// Whether this system's menus are Wine's, which select on HiliteMenuItem and not on MNC_SELECT:
// ntdll exports wine_get_version there.
bool MenusSelectByHilite();

// The answer to a WM_MENUCHAR that a kept key's selection caused; nothing for any other.
std::optional<LRESULT> AnswerReselection(WPARAM wparam, LPARAM lparam);

}  // namespace win32
