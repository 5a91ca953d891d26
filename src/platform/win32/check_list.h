#pragma once

// Check lists: a report list view with a checkbox on each row that may be checked.
//
// A row the user may not check carries state image 0, which draws no box. The list view gives
// a row a box of its own accord: Windows's steps a state image of 0 on to 1, an empty box, on
// Space and on a click where the box would be (Wine's steps only 1 and 2); turning checkboxes
// on again gives every row an empty box, on both. Each such change is asked of the list's parent
// first (LVN_ITEMCHANGING), so the window procedure of the program's windows refuses it for the
// rows marked box-less.

#include <windows.h>

#include <optional>

namespace win32 {

// The list view's window class, made ready at first use: comctl32 is loaded only then, so that
// a start that shows no check list never loads it.
const wchar_t* CheckListClass();

// What a check list is besides its window style; once, right after it is created.
void StyleCheckList(HWND list);

// TRUE, which refuses the change, for a WM_NOTIFY that would give a box-less row a checkbox;
// nothing for any other notice.
std::optional<LRESULT> RefuseBoxForBoxlessRow(LPARAM notice);

}  // namespace win32
