// Pictures in menus through the windowing seam, both ways: bitmaps the system draws (themed
// Windows) with premultiplied alpha, and pictures drawn by the owner on request (HBMMENU_CALLBACK,
// Wine and unthemed Windows) during a real menu's loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/win32/icons.h"
#include "platform/win32/utf.h"
#include "platform/win32/windowing.h"
#include "test_support.h"
#include "window_test_support.h"

namespace {

using platform::MenuItemSpec;
using platform::Message;
using win32_test::Recorder;
using win32_test::TestWindow;

constexpr int kSize = 24;
constexpr std::uint32_t kPremultipliedRed = 0xFFFF0000;  // BGRA as a little-endian word
constexpr std::uintptr_t kData = 0x4242;
constexpr std::uint16_t kCommand = 0x301;
constexpr platform::TimerId kDriver = 1;
constexpr std::uint32_t kDriverMs = 50;

std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
  const HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

MENUITEMINFOW ReadImage(platform::MenuId menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  ::GetMenuItemInfoW(reinterpret_cast<HMENU>(menu), position, TRUE, &info);
  return info;
}

MenuItemSpec Pictured(MenuItemSpec::Image image, platform::BitmapId bitmap) {
  MenuItemSpec item;
  item.command = kCommand;
  item.caption = "Red";
  item.image = image;
  item.image_bitmap = bitmap;
  item.image_data = kData;
  return item;
}

class MenuImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    red_ = platform::UniqueIcon(
        icons_, icons_.ExtractIcon(
                    win32::WideToUtf8(
                        (win32_test::HelperPath().parent_path() / L"icon_library.dll").wstring()),
                    0, kSize));
    ASSERT_TRUE(red_);
  }
  win32::Windowing windowing_;
  win32::Icons icons_;
  platform::UniqueIcon red_;
  Recorder recorder_{windowing_};
};

TEST_F(MenuImagesTest, WineDrawsPicturesThroughTheOwner) {
  EXPECT_EQ(windowing_.MenuImages(), platform::MenuImageMode::kOwnerDrawn);
}

TEST_F(MenuImagesTest, BitmapsArePremultipliedAndBlankWhereTheIconIsClear) {
  const platform::BitmapId red = windowing_.NewMenuBitmap(red_.get(), kSize);
  const platform::BitmapId blank = windowing_.NewMenuBitmap(platform::kNoIcon, kSize);
  ASSERT_NE(red, platform::kNoBitmap);
  ASSERT_NE(blank, platform::kNoBitmap);
  const auto pixels = Pixels(reinterpret_cast<HBITMAP>(red), kSize);
  EXPECT_EQ(pixels[kSize / 2 * kSize + kSize / 2], kPremultipliedRed);
  EXPECT_EQ(pixels[0], 0u) << "the clear corner stays clear";
  for (std::uint32_t pixel : Pixels(reinterpret_cast<HBITMAP>(blank), kSize)) EXPECT_EQ(pixel, 0u);

  // Appended as the item's bitmap, then swapped for another by command.
  const platform::MenuId menu = windowing_.CreatePopupMenu();
  ASSERT_TRUE(windowing_.AppendMenuItem(menu, Pictured(MenuItemSpec::Image::kBitmap, blank)));
  EXPECT_EQ(ReadImage(menu, 0).hbmpItem, reinterpret_cast<HBITMAP>(blank));
  EXPECT_TRUE(windowing_.SetMenuItemBitmap(menu, kCommand, red));
  EXPECT_EQ(ReadImage(menu, 0).hbmpItem, reinterpret_cast<HBITMAP>(red));
  // Destroying the menu leaves its bitmaps to their owner.
  windowing_.DestroyMenu(menu);
  EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(red)), static_cast<DWORD>(OBJ_BITMAP));
  windowing_.DeleteBitmap(red);
  windowing_.DeleteBitmap(blank);
  EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(red)), 0u);
}

TEST_F(MenuImagesTest, TheOwnerIsAskedToMeasureAndDrawWhileTheMenuIsUp) {
  const TestWindow owner(windowing_, platform::WindowSpec{}, &recorder_);
  const platform::MenuId menu = windowing_.CreatePopupMenu();
  ASSERT_TRUE(windowing_.AppendMenuItem(menu, Pictured(MenuItemSpec::Image::kDrawn, 0)));
  EXPECT_EQ(ReadImage(menu, 0).hbmpItem, HBMMENU_CALLBACK);
  EXPECT_EQ(ReadImage(menu, 0).dwItemData, kData);
  std::vector<platform::MenuImageRequest> asked;
  std::optional<COLORREF> drawn;
  recorder_.react = [&](const Message& m) -> std::optional<platform::LResult> {
    platform::MenuImageRequest request;
    if (windowing_.ReadMenuImageRequest(m.id, m.lparam, request)) {
      asked.push_back(request);
      if (!request.draw) {
        windowing_.AnswerMenuImageSize(m.lparam, kSize);
        return TRUE;
      }
      windowing_.DrawMenuImage(m.lparam, red_.get(), kSize);
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lparam);
      const RECT& place = item->rcItem;
      drawn = ::GetPixel(item->hDC, (place.left + place.right) / 2, (place.top + place.bottom) / 2);
      return TRUE;
    }
    if (m.id == platform::kWmTimer && drawn) ::EndMenu();
    return std::nullopt;
  };
  windowing_.SetTimer(owner.id(), kDriver, kDriverMs);
  EXPECT_TRUE(windowing_.TrackPopupMenu(menu, platform::kTpmRightButton, {100, 100}, owner.id()));
  windowing_.KillTimer(owner.id(), kDriver);
  windowing_.DestroyMenu(menu);

  ASSERT_GE(asked.size(), 2u);
  EXPECT_FALSE(asked.front().draw);
  EXPECT_EQ(asked.front().data, kData);
  EXPECT_TRUE(asked.back().draw);
  EXPECT_EQ(asked.back().data, kData);
  ASSERT_TRUE(drawn);
  EXPECT_EQ(*drawn, RGB(255, 0, 0));
}

}  // namespace
