// Check lists (check_list.h).

#include <windows.h>
// commctrl.h needs the definitions of windows.h first.
#include <commctrl.h>

#include "platform/win32/check_list.h"
#include "platform/win32/ids.h"
#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"
#include "platform/win32/window_class.h"
#include "platform/win32/windowing.h"

namespace win32 {
namespace {

using platform::RowCheck;

constexpr DWORD kListExStyle = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;

// A row's lParam. A row added with the selection bits set is announced with lParam 0 on
// Wine, before its own lParam is stored: 0 must never read as box-less.
constexpr LPARAM kRowMayBeChecked = 0;
constexpr LPARAM kBoxlessRow = 1;

// State image 0 draws nothing; the list view's own images are 1, unchecked, and 2, checked.
constexpr UINT kNoBoxImage = 0;
constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;

constexpr UINT kSelectedAndFocused = LVIS_SELECTED | LVIS_FOCUSED;

bool RegisterListViewClass() {
  // By name, not by path: the manifest's activation context then gives version 6, themed, from
  // the side-by-side store. The library stays for the rest of the run: every list's window
  // procedure lives in it.
  const HMODULE controls = ::LoadLibraryW(L"comctl32.dll");
  const auto initialize =
      LookUp<decltype(&::InitCommonControlsEx)>(controls, "InitCommonControlsEx");
  if (initialize == nullptr) return false;
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  return initialize(&classes) != FALSE;
}

UINT StateImageOf(RowCheck check) {
  switch (check) {
    case RowCheck::kUnchecked:
      return INDEXTOSTATEIMAGEMASK(kUncheckedImage);
    case RowCheck::kChecked:
      return INDEXTOSTATEIMAGEMASK(kCheckedImage);
    case RowCheck::kNone:
      break;
  }
  return INDEXTOSTATEIMAGEMASK(kNoBoxImage);
}

int ColumnCount(HWND list) {
  return Header_GetItemCount(ListView_GetHeader(list));
}

// Appends a row with its first cell; -1 when it could not.
int InsertRow(HWND list, const std::string& first_cell, RowCheck check) {
  std::wstring text = Utf8ToWide(first_cell);
  LVITEMW row{};
  row.mask = LVIF_TEXT | LVIF_PARAM;
  row.iItem = ListView_GetItemCount(list);
  row.pszText = text.data();
  row.lParam = check == RowCheck::kNone ? kBoxlessRow : kRowMayBeChecked;
  return static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
}

void SetCell(HWND list, int row, int column, const std::string& cell) {
  std::wstring text = Utf8ToWide(cell);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  ListView_SetItemState(list, row, state, mask);
}

}  // namespace

const wchar_t* CheckListClass() {
  static const bool registered = RegisterListViewClass();
  // Without the class no list is made, and NewWindow says so.
  return registered ? WC_LISTVIEWW : nullptr;
}

void StyleCheckList(HWND list) {
  ListView_SetExtendedListViewStyleEx(list, kListExStyle, kListExStyle);
}

std::optional<LRESULT> RefuseBoxForBoxlessRow(LPARAM notice) {
  const auto* header = reinterpret_cast<const NMHDR*>(notice);
  if (header == nullptr || header->code != LVN_ITEMCHANGING) return std::nullopt;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(notice);
  if (change->lParam != kBoxlessRow || (change->uChanged & LVIF_STATE) == 0) return std::nullopt;
  const UINT image_change = (change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK;
  // Taking a box away, as AddListRow does, is always allowed; so is any other change.
  if (image_change == 0 || (change->uNewState & LVIS_STATEIMAGEMASK) == 0) return std::nullopt;
  return TRUE;
}

void Windowing::AddListColumn(platform::WindowId list, const std::string& caption, int width) {
  const HWND target = ToHwnd(list);
  std::wstring text = Utf8ToWide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = ColumnCount(target);
  ::SendMessageW(target, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column.iSubItem),
                 reinterpret_cast<LPARAM>(&column));
  RethrowHandlerFailure();
}

void Windowing::SetListColumnWidth(platform::WindowId list, std::size_t column, int width) {
  ListView_SetColumnWidth(ToHwnd(list), static_cast<int>(column), width);
  RethrowHandlerFailure();
}

void Windowing::AddListRow(platform::WindowId list, const std::vector<std::string>& cells,
                           RowCheck check) {
  const HWND target = ToHwnd(list);
  // A list with checkboxes gives every new row an empty box; the row's own image comes after.
  const int row = InsertRow(target, cells.empty() ? std::string() : cells.front(), check);
  if (row < 0) {
    RethrowHandlerFailure();
    return;
  }
  for (std::size_t column = 1; column < cells.size(); ++column) {
    SetCell(target, row, static_cast<int>(column), cells[column]);
  }
  SetRowState(target, row, StateImageOf(check), LVIS_STATEIMAGEMASK);
  // Keyboard users start at the top.
  if (row == 0) SetRowState(target, row, kSelectedAndFocused, kSelectedAndFocused);
  RethrowHandlerFailure();
}

bool Windowing::ListRowChecked(platform::WindowId list, std::size_t row) {
  const UINT image =
      ListView_GetItemState(ToHwnd(list), static_cast<int>(row), LVIS_STATEIMAGEMASK);
  return image == INDEXTOSTATEIMAGEMASK(kCheckedImage);
}

}  // namespace win32
