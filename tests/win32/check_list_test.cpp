// win32::Windowing's check list under keys and clicks, and under what Windows's list view does.

#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the definitions of windows.h first.
#include <commctrl.h>

#include <array>

#include "platform/win32/windowing.h"
#include "window_test_support.h"

namespace {

using platform::RowCheck;
using platform::WindowKind;

platform::WindowSpec Described(WindowKind kind, platform::WindowId parent) {
  return {.kind = kind, .parent = parent, .caption = {}, .width = 400, .height = 200};
}

// A key, a click or a double click where a row's box is, or the list view setting a row's image.
enum class Act { kKey, kClick, kDoubleClick, kSetImage };
struct Step {
  const char* what;
  Act act;
  int key_or_row;
  std::array<bool, 3> checked;  // after the step
  UINT image = 0;
};

void Do(HWND list, const Step& step) {
  if (step.act == Act::kSetImage) {
    ListView_SetItemState(list, step.key_or_row, INDEXTOSTATEIMAGEMASK(step.image),
                          LVIS_STATEIMAGEMASK);
    return;
  }
  if (step.act == Act::kKey) {
    ::PostMessageW(list, WM_KEYDOWN, step.key_or_row, 1);
    return;
  }
  // The box, or where it would be, lies left of the row's empty icon.
  RECT row{}, icon{};
  ListView_GetItemRect(list, step.key_or_row, &row, LVIR_BOUNDS);
  ListView_GetItemRect(list, step.key_or_row, &icon, LVIR_ICON);
  const LPARAM at = MAKELPARAM((row.left + icon.left) / 2, (row.top + row.bottom) / 2);
  for (const UINT id : {WM_LBUTTONDOWN, WM_LBUTTONUP}) ::PostMessageW(list, id, MK_LBUTTON, at);
  if (step.act == Act::kDoubleClick) ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
}

// The steps, one after the other, on a list of three rows added checked, unchecked and box-less.
TEST(CheckListTest, SpaceAndClicksCheckOnlyRowsWithABox) {
  win32::Windowing windowing;
  win32_test::Recorder recorder{windowing};
  const win32_test::TestWindow form{windowing, Described(WindowKind::kForm, platform::kNoWindow),
                                    &recorder};
  const win32_test::TestWindow list{windowing, Described(WindowKind::kCheckList, form.id()),
                                    nullptr};
  for (const char* column : {"What", "Kind"}) windowing.AddListColumn(list.id(), column, 40);
  windowing.SetListColumnWidth(list.id(), 1, 90);
  for (const RowCheck check : {RowCheck::kChecked, RowCheck::kUnchecked, RowCheck::kNone}) {
    windowing.AddListRow(list.id(), {"Widget Ä", "File"}, check);
  }
  EXPECT_EQ(ListView_GetColumnWidth(list.hwnd(), 1), 90);
  wchar_t cell[8] = {};
  ListView_GetItemText(list.hwnd(), 2, 1, cell, 8);
  EXPECT_STREQ(cell, L"File");

  const Step steps[] = {
      {"Space at the start", Act::kKey, VK_SPACE, {false, false, false}},
      {"Down", Act::kKey, VK_DOWN, {false, false, false}},
      {"Space on the second row", Act::kKey, VK_SPACE, {false, true, false}},
      {"Down", Act::kKey, VK_DOWN, {false, true, false}},
      {"Space on the box-less row", Act::kKey, VK_SPACE, {false, true, false}},
      {"a click on the first row's box", Act::kClick, 0, {true, true, false}},
      {"a click where no box is", Act::kClick, 2, {true, true, false}},
      {"a double click there", Act::kDoubleClick, 2, {true, true, false}},
      // Windows's list view steps a box-less row's image on to 1 on Space and on a click.
      {"an empty box for the box-less row", Act::kSetImage, 2, {true, true, false}, 1},
      {"a checked box for the box-less row", Act::kSetImage, 2, {true, true, false}, 2},
      {"an empty box for the second row", Act::kSetImage, 1, {true, false, false}, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Do(list.hwnd(), step);
    platform::Message message;
    while (windowing.PeekNext(message)) windowing.Dispatch(message);
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(windowing.ListRowChecked(list.id(), row), step.checked[row]) << row;
    }
    // Unchecked is not enough: the box-less row shows no box at all.
    EXPECT_EQ(ListView_GetItemState(list.hwnd(), 2, LVIS_STATEIMAGEMASK), 0u);
  }
}

}  // namespace
