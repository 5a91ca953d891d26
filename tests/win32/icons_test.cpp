// The icon seam over the real system: exact sizes from an executable's index and resource id,
// from an .ico file and the generic icon, at the DPI the tests run at (96, 144 and 192); bad
// files give nothing, and then the generic icon.

#include "platform/win32/icons.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "../unit/platform/icon_bytes.h"
#include "app/icons/icon_finder.h"
#include "framework/menu_images.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/launcher.h"
#include "platform/win32/process_snapshots.h"
#include "platform/win32/registry.h"
#include "platform/win32/utf.h"
#include "platform/win32/windowing.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x008000;  // the named colour "green"
constexpr std::uint32_t kColour = 0xFFFFFF;
constexpr std::size_t kTruncatedBytes = 1000;

struct BitmapTraits {
  using Handle = HBITMAP;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
using UniqueBitmap = platform::UniqueHandle<BitmapTraits>;

fs::path Beside(const wchar_t* name) {
  return win32_test::HelperPath().parent_path() / name;
}

void Write(const fs::path& path, const icon_bytes::Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Program files whose sections all lie within them, with resource directories that do not: the
// icon group's table at 0x7FFFFF00, or a root claiming 65,535 entries. And an .ico file whose
// one bitmap claims 2^31-1 x 2^30 pixels.
struct CraftedFiles {
  icon_bytes::Bytes outside;
  icon_bytes::Bytes crowded;
  icon_bytes::Bytes lying;
};

CraftedFiles Crafted() {
  const icon_bytes::Bytes whole =
      icon_bytes::Program(false, {{1, {{1, icon_bytes::BitmapPicture(16, 32)}}}});
  CraftedFiles files{whole, whole, icon_bytes::Ico({icon_bytes::BitmapPicture(16, 32)})};
  icon_bytes::Put(files.outside, icon_bytes::kRootGroupEntryAt + 4, 0x80000000u | 0x7FFFFF00u, 4);
  icon_bytes::Put(files.crowded, icon_bytes::kRootIdCountAt, 0xFFFF, 2);
  icon_bytes::Put(files.lying, 6 + 16 + 4, 0x7FFFFFFF, 4);
  icon_bytes::Put(files.lying, 6 + 16 + 8, 0x80000000u, 4);
  return files;
}

std::string Utf8(const fs::path& path) {
  return win32::WideToUtf8(path.wstring());
}

// The width of the icon's picture, and the colour at its centre.
struct Seen {
  int width = 0;
  std::uint32_t centre = 0;
};

Seen Look(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  ::GetObjectW(colour ? colour.get() : mask.get(), sizeof(bitmap), &bitmap);
  Seen seen{bitmap.bmWidth, 0};
  const HDC screen = ::GetDC(nullptr);
  const HDC dc = ::CreateCompatibleDC(screen);
  const HBITMAP canvas = ::CreateCompatibleBitmap(screen, seen.width, seen.width);
  const HGDIOBJ previous = ::SelectObject(dc, canvas);
  ::DrawIconEx(dc, 0, 0, icon, seen.width, seen.width, 0, nullptr, DI_NORMAL);
  const COLORREF centre = ::GetPixel(dc, seen.width / 2, seen.width / 2);
  seen.centre = (GetRValue(centre) << 16) | (GetGValue(centre) << 8) | GetBValue(centre);
  ::SelectObject(dc, previous);
  ::DeleteObject(canvas);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return seen;
}

class IconsTest : public ::testing::Test {
 protected:
  app::FoundIcon Find(const app::ProgramEntry& program) {
    app::ReadIconFiles read;
    const app::IconSeams seams{icons_, registry_, processes_,
                               app::PathSystem{launcher_, files_, registry_.HasSeparate64BitView()},
                               drives_};
    return app::FindProgramIconFile(seams, read, program, size_);
  }

  win32::Icons icons_;
  win32::Windowing windowing_;
  win32::Registry registry_;
  win32::ProcessSnapshots processes_;
  win32::Launcher launcher_;
  win32::FileDates files_;
  app::RemoteDrives drives_{files_};
  const int size_ = framework::MenuImageSizeAt(windowing_.Dpi(platform::kNoWindow));
};

TEST_F(IconsTest, EachSourceGivesItsIconAtTheExactSize) {
  const std::string library = Utf8(Beside(L"icon_library.dll"));
  const struct {
    const char* name;
    int index;  // kIcoFile: through the icon loader
    std::uint32_t colour;
  } rows[] = {
      {"index 0", 0, kRed},
      {"index 1", 1, kBlue},
      {"resource id 205", -205, kBlue},
      {"resource id 101", -101, kRed},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const platform::UniqueIcon icon(icons_, icons_.ExtractIcon(library, row.index, size_));
    ASSERT_TRUE(icon);
    const Seen seen = Look(reinterpret_cast<HICON>(icon.get()));
    EXPECT_EQ(seen.width, size_);
    EXPECT_EQ(seen.centre & kColour, row.colour);
  }
  const platform::UniqueIcon ico(icons_, icons_.LoadIconFile(Utf8(Beside(L"green.ico")), size_));
  ASSERT_TRUE(ico);
  EXPECT_EQ(Look(reinterpret_cast<HICON>(ico.get())).width, size_);
  EXPECT_EQ(Look(reinterpret_cast<HICON>(ico.get())).centre, kGreen);
  const platform::UniqueIcon generic(icons_, icons_.GenericIcon(size_));
  ASSERT_TRUE(generic);
  EXPECT_EQ(Look(reinterpret_cast<HICON>(generic.get())).width, size_);
}

TEST_F(IconsTest, AProgramsSourcesAreFoundThroughTheRules) {
  const std::string library = Utf8(Beside(L"icon_library.dll"));
  const struct {
    const char* name;
    std::string display_icon;
    std::string command;
    std::string file_key;
  } rows[] = {
      {"display icon by resource id", "\"" + library + "\",-205", "", ",-205"},
      {"an .ico display icon", Utf8(Beside(L"green.ico")), "", ",0"},
      {"the command's program", "", "\"" + library + "\" /uninstall", ",0"},
      {"nothing at all", "", "MsiExec.exe /X{00000000-0000-0000-0000-000000000000}", "generic"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    app::ProgramEntry program;
    program.command = row.command;
    program.display_icon = row.display_icon;
    const app::FoundIcon found = Find(program);
    ASSERT_TRUE(found.icon);
    EXPECT_NE(found.file_key.find(row.file_key + "@" + std::to_string(size_)), std::string::npos)
        << found.file_key;
  }
}

TEST_F(IconsTest, BadFilesGiveNothingAndThenTheGenericIcon) {
  const win32_test::ScratchDir scratch;
  const fs::path corrupt = scratch.path() / L"corrupt.ico";
  const fs::path lying = scratch.path() / L"lying.ico";
  const fs::path empty = scratch.path() / L"empty.exe";
  const fs::path truncated = scratch.path() / L"truncated.exe";
  std::ofstream(corrupt, std::ios::binary) << std::string("\0\0\1\0\5\0garbage", 13);
  std::ofstream(empty, std::ios::binary).flush();
  // A directory that claims five pictures, none of them there.
  std::ofstream(lying, std::ios::binary)
      << std::string("\0\0\1\0\5\0", 6) << std::string(64, '\xff');
  const std::string helper = win32_test::ReadFile(win32_test::HelperPath());
  std::ofstream(truncated, std::ios::binary) << helper.substr(0, kTruncatedBytes);
  const fs::path truncated_program = scratch.path() / L"truncated_program.exe";
  std::ofstream(truncated_program, std::ios::binary)
      << win32_test::ReadFile(TAPWISE_PROGRAM_PATH).substr(0, kTruncatedBytes);
  const CraftedFiles crafted = Crafted();
  const fs::path outside = scratch.path() / L"outside.exe";
  const fs::path crowded = scratch.path() / L"crowded.exe";
  const fs::path huge = scratch.path() / L"huge.ico";
  Write(outside, crafted.outside);
  Write(crowded, crafted.crowded);
  Write(huge, crafted.lying);
  const struct {
    const char* name;
    std::string display_icon;
  } rows[] = {
      {"corrupt .ico", Utf8(corrupt)},
      {"lying .ico", Utf8(lying)},
      {"truncated exe", Utf8(truncated)},
      {"truncated program", Utf8(truncated_program) + ",0"},
      {"huge index of the program", std::string(TAPWISE_PROGRAM_PATH) + ",2147483647"},
      {"directory", Utf8(scratch.path())},
      {"empty file", Utf8(empty)},
      {"huge index", Utf8(Beside(L"icon_library.dll")) + ",2147483647"},
      {"missing file", Utf8(scratch.path() / L"missing.exe")},
      {"group table outside the file", Utf8(outside) + ",0"},
      {"root claiming 65,535 entries", Utf8(crowded)},
      {".ico claiming 2^31-1 x 2^30 pixels", Utf8(huge)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    app::ProgramEntry program;
    program.display_icon = row.display_icon;
    const app::FoundIcon found = Find(program);
    EXPECT_TRUE(found.icon);
    EXPECT_EQ(found.file_key, "generic@" + std::to_string(size_));
  }
}

}  // namespace
