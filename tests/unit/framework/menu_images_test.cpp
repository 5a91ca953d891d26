// The cache of menu pictures: one icon per file, keys that wait for their file's icon, and
// bitmaps made and deleted by the cache alone.

#include "framework/menu_images.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_windowing.h"

namespace {

using framework::ImageKey;

TEST(MenuImages, AKeyWithoutAnIconWaitsForItsFilesIcon) {
  sim::WindowSystem windows;
  sim::FileTable files;
  sim::IconFiles icons(files);
  icons.AddProgram(R"(C:\a.exe)", 1);
  {
    framework::TMenuImages images(windows);
    images.Prepare(144);
    bool is_new = false;
    const ImageKey early = images.Intern("early", is_new);
    const ImageKey late = images.Intern("late", is_new);
    EXPECT_EQ(images.SizeOf(early), 24);

    // The later request's worker saw the file read already; its icon comes after.
    EXPECT_TRUE(images.Resolve(late, "A,0@24", {}).empty());
    EXPECT_EQ(images.IconOf(late), platform::kNoIcon);
    platform::UniqueIcon icon(icons, icons.ExtractIcon(R"(C:\a.exe)", 0, 24));
    const platform::IconId id = icon.get();
    EXPECT_EQ(images.Resolve(early, "A,0@24", std::move(icon)),
              (std::vector<ImageKey>{early, late}));
    EXPECT_EQ(images.IconOf(early), id);
    EXPECT_EQ(images.IconOf(late), id);

    // A second icon of a file held is not kept.
    bool again = false;
    const ImageKey third = images.Intern("third", again);
    images.Resolve(third, "A,0@24",
                   platform::UniqueIcon(icons, icons.ExtractIcon(R"(C:\a.exe)", 0, 24)));
    EXPECT_EQ(images.IconOf(third), id);
    EXPECT_EQ(icons.LiveIcons(), 1u);

    images.BitmapOf(early);
    images.BitmapOf(images.Intern("pending", again));  // a blank placeholder
    EXPECT_EQ(windows.LiveBitmapCount(), 2u);
  }
  EXPECT_EQ(icons.LiveIcons(), 0u);
  EXPECT_EQ(windows.LiveBitmapCount(), 0u);
}

// Bitmaps are made at the menu's size, rounded as the DPI scaling rounds: 16 at 96 dpi scales
// to 16.67 at 100, which is 17.
TEST(MenuImages, InBitmapModeAHeldIconGetsTheMenusSize) {
  const struct {
    int dpi;
    int size;
  } cases[] = {{96, 16}, {100, 17}, {120, 20}, {144, 24}, {168, 28}, {0, 16}};
  for (const auto& c : cases) {
    sim::WindowSystem windows;
    windows.SetMenuImageMode(platform::MenuImageMode::kBlendedBitmaps);
    sim::FileTable files;
    sim::IconFiles icons(files);
    icons.AddProgram(R"(C:\a.exe)", 1);
    framework::TMenuImages images(windows);
    images.Prepare(c.dpi);
    EXPECT_EQ(images.Size(), c.size) << c.dpi;
    bool is_new = false;
    const ImageKey held = images.Intern("held", is_new);
    const ImageKey pending = images.Intern("pending", is_new);
    images.Resolve(held, "A,0",
                   platform::UniqueIcon(icons, icons.ExtractIcon(R"(C:\a.exe)", 0, c.size)));
    EXPECT_EQ(windows.BitmapSize(images.BitmapOf(held)), c.size) << c.dpi;
    EXPECT_EQ(windows.BitmapSize(images.BitmapOf(pending)), c.size) << c.dpi;
  }
}

}  // namespace
