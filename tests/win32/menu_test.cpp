// Popup menus and message boxes of win32::Windowing, driven from inside their modal loops.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/utf.h"
#include "platform/win32/windowing.h"
#include "window_test_support.h"

namespace {

using namespace std::chrono_literals;
using platform::MenuItemSpec;
using platform::Message;
using win32_test::PumpUntil;
using win32_test::Recorder;
using win32_test::TestWindow;

using Kind = MenuItemSpec::Kind;

constexpr platform::TimerId kDriver = 1;
constexpr std::uint32_t kDriverMs = 50;
// The class of a popup menu's window.
constexpr wchar_t kMenuClass[] = L"#32768";

struct ItemInfo {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string caption;
};

ItemInfo ReadItem(HMENU menu, UINT position) {
  wchar_t caption[128] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = caption;
  info.cch = 128;
  ::GetMenuItemInfoW(menu, position, TRUE, &info);
  return ItemInfo{info.fType, info.fState, info.wID, info.hSubMenu, win32::WideToUtf8(caption)};
}

MenuItemSpec Command(std::uint16_t command, const std::string& caption) {
  MenuItemSpec item;
  item.command = command;
  item.caption = caption;
  return item;
}

MenuItemSpec Separator() {
  MenuItemSpec item;
  item.kind = Kind::kSeparator;
  return item;
}

MenuItemSpec Submenu(const std::string& caption, platform::MenuId submenu) {
  MenuItemSpec item;
  item.kind = Kind::kSubmenu;
  item.caption = caption;
  item.submenu = submenu;
  item.is_default = true;
  return item;
}

class MenuTest : public ::testing::Test {
 protected:
  win32::Windowing windowing_;
  Recorder recorder_{windowing_};
};

TEST_F(MenuTest, AppendedItemsReadBackAsBuilt) {
  const platform::MenuId menu = windowing_.CreatePopupMenu();
  const platform::MenuId submenu = windowing_.CreatePopupMenu();
  ASSERT_NE(menu, platform::kNoMenu);
  const std::vector<MenuItemSpec> items = {
      Submenu("&Recent Programs", submenu),
      Separator(),
      Command(0x1234, "Tom && Jerry 名"),
  };
  ASSERT_TRUE(windowing_.AppendMenuItem(submenu, Command(7, "Foo 2.0")));
  for (const MenuItemSpec& item : items) ASSERT_TRUE(windowing_.AppendMenuItem(menu, item));

  const HMENU hmenu = reinterpret_cast<HMENU>(menu);
  ASSERT_EQ(::GetMenuItemCount(hmenu), 3);
  const ItemInfo recent = ReadItem(hmenu, 0);
  EXPECT_EQ(recent.caption, "&Recent Programs");
  EXPECT_EQ(recent.submenu, reinterpret_cast<HMENU>(submenu));
  EXPECT_TRUE(recent.state & MFS_DEFAULT);
  EXPECT_EQ(::GetMenuDefaultItem(hmenu, TRUE, 0), 0u);
  EXPECT_TRUE(ReadItem(hmenu, 1).type & MFT_SEPARATOR);
  const ItemInfo command = ReadItem(hmenu, 2);
  EXPECT_EQ(command.caption, "Tom && Jerry 名");
  EXPECT_EQ(command.id, 0x1234u);
  EXPECT_FALSE(command.state & MFS_DEFAULT);
  EXPECT_EQ(ReadItem(reinterpret_cast<HMENU>(submenu), 0).caption, "Foo 2.0");

  windowing_.DestroyMenu(menu);
  EXPECT_FALSE(::IsMenu(hmenu));
  EXPECT_FALSE(::IsMenu(reinterpret_cast<HMENU>(submenu)));
}

// The menu runs its own loop; a timer on the owner steers it with keys from inside. Popped up
// where the cursor is read to be, its window's corner is at the cursor, whatever the DPI: the
// program is DPI aware, so both speak in the same pixels.
TEST_F(MenuTest, TrackingAtTheCursorReportsTheLoopAndPostsTheChosenCommand) {
  constexpr std::uint16_t kSecond = 0x202;
  const TestWindow owner(windowing_, platform::WindowSpec{}, &recorder_);
  const platform::MenuId menu = windowing_.CreatePopupMenu();
  windowing_.AppendMenuItem(menu, Command(0x201, "One"));
  windowing_.AppendMenuItem(menu, Command(kSecond, "Two"));
  ASSERT_TRUE(::SetCursorPos(210, 150));
  platform::Point cursor;
  ASSERT_TRUE(windowing_.GetCursorPos(cursor));
  RECT shown{-1, -1, -1, -1};
  int presses = 0;
  recorder_.react = [&](const Message& m) -> std::optional<platform::LResult> {
    if (m.id != platform::kWmTimer) return std::nullopt;
    if (const HWND window = ::FindWindowW(kMenuClass, nullptr); window != nullptr) {
      ::GetWindowRect(window, &shown);
    }
    const WPARAM keys[] = {VK_DOWN, VK_DOWN, VK_RETURN};
    if (presses < 3) ::PostMessageW(owner.hwnd(), WM_KEYDOWN, keys[presses++], 0);
    return 0;
  };
  windowing_.SetTimer(owner.id(), kDriver, kDriverMs);
  EXPECT_TRUE(windowing_.TrackPopupMenu(menu, platform::kTpmRightButton, cursor, owner.id()));
  windowing_.KillTimer(owner.id(), kDriver);
  windowing_.DestroyMenu(menu);

  EXPECT_EQ(cursor, (platform::Point{210, 150}));
  EXPECT_EQ(shown.left, cursor.x);
  EXPECT_EQ(shown.top, cursor.y);

  EXPECT_EQ(recorder_.Count(platform::kWmEnterMenuLoop), 1u);
  EXPECT_EQ(recorder_.Count(platform::kWmExitMenuLoop), 1u);
  EXPECT_GE(recorder_.Count(platform::kWmMenuSelect), 1u);
  const auto chosen = [&] {
    return std::any_of(recorder_.seen.begin(), recorder_.seen.end(), [](const Message& m) {
      return m.id == platform::kWmCommand && LOWORD(m.wparam) == kSecond;
    });
  };
  EXPECT_FALSE(chosen()) << "the command is posted, not sent";
  EXPECT_TRUE(PumpUntil(windowing_, chosen, 1s));
}

TEST_F(MenuTest, MessageBoxShowsTextAndReturnsTheAnswer) {
  const std::string caption = "Tapwise Üninstaller";
  const std::string text = "Foo 2.0 still exists.\nÖffnen?";
  const TestWindow owner(windowing_, platform::WindowSpec{}, &recorder_);
  std::string shown;
  recorder_.react = [&](const Message& m) -> std::optional<platform::LResult> {
    if (m.id != platform::kWmTimer) return std::nullopt;
    const HWND box = ::FindWindowW(L"#32770", win32::Utf8ToWide(caption).c_str());
    if (box == nullptr) return 0;
    wchar_t buffer[256] = {};
    // The text of a message box is its static control 0xFFFF.
    ::GetDlgItemTextW(box, 0xFFFF, buffer, 256);
    shown = win32::WideToUtf8(buffer);
    ::PostMessageW(box, WM_COMMAND, IDNO, 0);
    return 0;
  };
  windowing_.SetTimer(owner.id(), kDriver, kDriverMs);
  const int answer = windowing_.ShowMessageBox(owner.id(), text, caption,
                                               platform::kMbYesNo | platform::kMbIconInformation);
  windowing_.KillTimer(owner.id(), kDriver);
  EXPECT_EQ(answer, platform::kIdNo);
  EXPECT_EQ(shown, text);
}

}  // namespace
