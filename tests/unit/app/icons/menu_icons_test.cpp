// The icons of the generated items over the substitute platform: looked for only once the menu
// is up, shown as blanks until they come, shared by file, cancelled at the end, and owned by the
// cache alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/harness.h"

namespace {

using sim::MenuNode;
using testing_support::Entry;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::Program;
using Sources = std::map<std::string, std::string>;  // displayed caption -> icon drawn

std::string Value(const std::string& name, const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return "\"" + name + "\"=\"" + escaped + "\"";
}

std::string Listed(const std::string& root, const std::string& key, const std::string& name,
                   const std::string& command, const std::string& icon = {}) {
  std::vector<std::string> values = {Value("DisplayName", name), Value("UninstallString", command),
                                     R"("InstallDate"="20200101")"};
  if (!icon.empty()) values.push_back(Value("DisplayIcon", icon));
  return Entry(root + key, values);
}

// A run whose user looks at the menu with every submenu open, twice: at 30 ms and at 60 ms.
struct IconRun : Program {
  explicit IconRun(const std::string& reg, int dpi = platform::kDefaultDpi) : Program(reg) {
    sim.windows.SetSystemDpi(dpi);
    sim.processes.SetProcesses({"tool.exe", "guarded.exe"});
    sim.processes.SetProcessImage("tool.exe", R"(C:\Tools\tool.exe)");
    sim.processes.SetProcessImage("guarded.exe", "");
    sim.icons.AddProgram(R"(C:\Tools\tool.exe)", 1);
    sim.windows.DismissMenu();
    for (std::int64_t at : {30, 60}) {
      sim.windows.At(at, [this] { paints.push_back(Paint()); });
    }
  }

  Sources Paint() {
    const auto drawn = sim.windows.PaintMenus(sim.windows.Popups().back().owner);
    std::map<std::uintptr_t, std::string> by_data;
    for (const auto& image : drawn) {
      by_data[image.data] =
          image.icon == platform::kNoIcon ? "blank" : sim.icons.SourceOf(image.icon);
      sizes.push_back(image.size);
    }
    Sources sources;
    Collect(sim.windows.Popups().back().items, by_data, sources);
    return sources;
  }
  static void Collect(const std::vector<MenuNode>& nodes,
                      const std::map<std::uintptr_t, std::string>& by_data, Sources& sources) {
    for (const MenuNode& node : nodes) {
      if (node.image == MenuNode::Image::kDrawn)
        sources[node.displayed] = by_data.at(node.image_data);
      Collect(node.children, by_data, sources);
    }
  }

  std::vector<Sources> paints;
  std::vector<int> sizes;
};

TEST(MenuIcons, EachItemShowsTheIconOfItsFirstSourceThatGivesOne) {
  IconRun run(
      Listed(kLm32, "A", "Display", R"(C:\A\a.exe /u)", R"("C:\A\a.exe",1)") +
      Listed(kLm32, "B", "Resource", R"(C:\B\u.exe)", R"(C:\B\b.dll,-101)") +
      Listed(kLm32, "C", "Ico", R"(C:\C\u.exe)", R"(C:\C\c.ico,7)") +
      Listed(kLm32, "D", "Command", R"("C:\D\uninstall.exe" /S)") +
      Listed(kLm64, "E", "Wide", R"(%ProgramFiles%\E\u.exe)") +
      Listed(kLm32, "{12345678-ABCD-EF01-2345-6789ABCDEF01}", "Installer",
             "MsiExec.exe /X{12345678-ABCD-EF01-2345-6789ABCDEF01}") +
      Entry(
          R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\Products\87654321DCBA10FE32547698BADCFE10)",
          {Value("ProductIcon", R"(C:\Windows\Installer\{X}\product.ico)")}) +
      Listed(kLm32, "G", "Nothing", "MsiExec.exe /X{00000000-0000-0000-0000-000000000000}"));
  run.sim.icons.AddProgram(R"(C:\A\a.exe)", 2);
  run.sim.icons.AddProgram(R"(C:\B\b.dll)", 0, {101});
  run.sim.icons.AddIconFile(R"(C:\C\c.ico)");
  run.sim.icons.AddProgram(R"(C:\D\uninstall.exe)", 1);
  run.sim.icons.AddProgram(R"(C:\Program Files\E\u.exe)", 1);
  run.sim.icons.AddIconFile(R"(C:\Windows\Installer\{X}\product.ico)");
  run.Run();
  ASSERT_EQ(run.paints.size(), 2u);
  const Sources expected = {
      {"Display", R"(C:\A\a.exe,1@16)"},
      {"Resource", R"(C:\B\b.dll,-101@16)"},
      {"Ico", R"(C:\C\c.ico@16)"},
      {"Command", R"(C:\D\uninstall.exe,0@16)"},
      {"Wide", R"(C:\Program Files\E\u.exe,0@16)"},
      {"Installer", R"(C:\Windows\Installer\{X}\product.ico@16)"},
      {"Nothing", "generic@16"},
      {"tool.exe", R"(C:\Tools\tool.exe,0@16)"},
      {"guarded.exe", "generic@16"},
  };
  EXPECT_EQ(run.paints[1], expected);
}

TEST(MenuIcons, BadFilesGiveTheGenericIconAndFarPathsAreNeverOpened) {
  const std::map<std::string, std::string> icons = {
      {"Corrupt", R"(C:\Bad\corrupt.ico)"},
      {"Truncated", R"(C:\Bad\truncated.exe)"},
      {"Folder", R"(C:\Bad\folder)"},
      {"Empty", R"(C:\Bad\empty.exe)"},
      {"Huge", R"(C:\Bad\good.exe,2147483647)"},
      {"Missing", R"(C:\Bad\missing.exe)"},
      {"Share", R"(\\server\share\a.exe)"},
      {"Device", R"(\\.\pipe\x)"},
      {"Remote", R"(N:\Apps\a.exe)"},
  };
  std::string reg;
  for (const auto& [name, icon] : icons)
    reg += Listed(kLm32, name, name, R"(C:\Nowhere\u.exe)", icon);
  IconRun run(reg);
  run.sim.icons.AddIconFile(R"(C:\Bad\corrupt.ico)", true);
  run.sim.icons.AddPlainFile(R"(C:\Bad\truncated.exe)");
  run.sim.icons.AddDirectory(R"(C:\Bad\folder)");
  run.sim.icons.AddPlainFile(R"(C:\Bad\empty.exe)");
  run.sim.icons.AddProgram(R"(C:\Bad\good.exe)", 1);
  run.sim.files.SetDriveType("N:\\", platform::DriveType::kRemote);
  run.Run();
  for (const auto& [name, icon] : icons) {
    EXPECT_EQ(run.paints.at(1).at(name), "generic@16") << name;
  }
  for (const std::string& opened : run.sim.icons.Opened()) {
    EXPECT_EQ(opened.rfind("C:\\", 0), 0u) << opened;
  }
  for (const std::string& checked : run.sim.files.Checked()) {
    EXPECT_EQ(checked.rfind("C:\\", 0), 0u) << checked;
  }
  EXPECT_TRUE(run.sim.windows.Boxes().empty());
}

// A running program's file is opened for its icon only where any registered file would be.
TEST(MenuIcons, AProcessOnAShareOrADeviceIsNeverOpened) {
  IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\A\u.exe)"));
  const std::map<std::string, std::string> images = {
      {"share.exe", R"(\\server\share\share.exe)"}, {"device.exe", R"(\\.\device.exe)"},
      {"remote.exe", R"(N:\Apps\remote.exe)"},      {"nul.exe", R"(C:\Apps\nul.exe)"},
      {"local.exe", R"(C:\Apps\local.exe)"},
  };
  std::vector<std::string> names;
  for (const auto& [name, image] : images) {
    names.push_back(name);
    run.sim.processes.SetProcessImage(name, image);
    run.sim.icons.AddProgram(image, 1);
  }
  run.sim.processes.SetProcesses(names);
  run.sim.files.SetDriveType("N:\\", platform::DriveType::kRemote);
  run.Run();
  for (const auto& [name, image] : images) {
    const std::string expected = name == "local.exe" ? image + ",0@16" : "generic@16";
    EXPECT_EQ(run.paints.at(1).at(name), expected) << name;
  }
  for (const std::string& opened : run.sim.icons.Opened()) {
    EXPECT_EQ(opened.rfind("C:\\", 0), 0u) << opened;
    EXPECT_EQ(opened.find("nul"), std::string::npos) << opened;
  }
  for (const std::string& checked : run.sim.files.Checked()) {
    EXPECT_EQ(checked.rfind("C:\\", 0), 0u) << checked;
  }
}

// The icon read is the one at the registered index: one file, two icons.
TEST(MenuIcons, OneFileAtTwoIndexesGivesTwoIcons) {
  IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\S\u.exe)", R"(C:\S\s.exe,0)") +
              Listed(kLm32, "B", "Beta", R"(C:\S\u.exe)", R"(C:\S\s.exe,1)"));
  run.sim.icons.AddProgram(R"(C:\S\s.exe)", 2);
  run.Run();
  EXPECT_EQ(run.paints.at(1).at("Alpha"), R"(C:\S\s.exe,0@16)");
  EXPECT_EQ(run.paints.at(1).at("Beta"), R"(C:\S\s.exe,1@16)");
}

TEST(MenuIcons, NothingIsLookedForBeforeTheMenuIsUpAndBlanksStandInUntilIconsArrive) {
  IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\A\u.exe)") +
              Listed(kLm32, "B", "Beta", R"(C:\B\u.exe)"));
  run.sim.workers.Hold(true);
  run.sim.windows.At(40, [&run] {
    run.sim.workers.RunHeld();
    run.sim.workers.Hold(false);
  });
  // The icons' jobs, that is: the catalogue is read by a job of its own from the start.
  std::size_t started_before_menu = 0;
  run.sim.workers.WatchStarts([&run, &started_before_menu] {
    const bool icon = run.sim.workers.LastPriority() == platform::JobPriority::kBackground;
    if (icon && run.sim.windows.Popups().empty()) ++started_before_menu;
  });
  run.Run();
  EXPECT_EQ(started_before_menu, 0u);
  ASSERT_EQ(run.paints.size(), 2u);
  for (const auto& [caption, drawn] : run.paints[0]) EXPECT_EQ(drawn, "blank") << caption;
  EXPECT_EQ(run.paints[1].at("Alpha"), "generic@16");
  EXPECT_EQ(run.paints[1].at("tool.exe"), R"(C:\Tools\tool.exe,0@16)");
  EXPECT_GE(run.sim.windows.MenuRedraws(), 1u);
  EXPECT_TRUE(std::all_of(run.sizes.begin(), run.sizes.end(), [](int size) { return size == 16; }));
}

TEST(MenuIcons, OneFileIsReadOnceAndEveryIconAndBitmapDiesWithTheCache) {
  for (const auto mode :
       {platform::MenuImageMode::kOwnerDrawn, platform::MenuImageMode::kBlendedBitmaps}) {
    IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\Shared\u.exe)", R"(C:\Shared\s.exe,0)") +
                Listed(kLm32, "B", "Beta", R"(C:\Shared\u.exe /other)", R"(C:\SHARED\S.EXE)"));
    run.sim.windows.SetMenuImageMode(mode);
    run.sim.icons.AddProgram(R"(C:\Shared\s.exe)", 1);
    std::size_t live_icons = 0;
    std::vector<platform::IconId> shown;
    run.sim.windows.At(50, [&] {
      live_icons = run.sim.icons.LiveIcons();
      const std::vector<MenuNode> now = run.sim.windows.ShownNow();
      for (const MenuNode& node : sim::Find(now, {"All Programs"})->children) {
        shown.push_back(mode == platform::MenuImageMode::kOwnerDrawn
                            ? node.image_data
                            : run.sim.windows.BitmapIcon(node.image_bitmap));
      }
    });
    run.Run();
    // Alpha and Beta share one icon, read once; tool.exe and guarded.exe (generic) have their
    // own.
    EXPECT_EQ(live_icons, 3u);
    EXPECT_EQ(run.sim.icons.Reads(), 3u);
    if (mode == platform::MenuImageMode::kBlendedBitmaps) {
      ASSERT_EQ(shown.size(), 2u);
      EXPECT_NE(shown[0], platform::kNoIcon);
      EXPECT_EQ(shown[0], shown[1]);
    }
    EXPECT_EQ(run.sim.icons.LiveIcons(), 0u);
    EXPECT_EQ(run.sim.windows.LiveBitmapCount(), 0u);
  }
}

TEST(MenuIcons, TheEndCancelsWhatIsStillToBeFoundAndWaitsForNothing) {
  IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\A\u.exe)"));
  run.sim.icons.AddProgram(R"(C:\A\u.exe)", 1);
  std::size_t started = 0;
  run.sim.workers.WatchStarts([&started] { ++started; });
  run.sim.workers.Hold(true);
  run.Run();
  EXPECT_GT(started, 0u);
  // The end cancelled every job still to run: none is left, and none ran.
  EXPECT_EQ(run.sim.workers.HeldCount(), 0u);
  run.sim.workers.RunHeld();
  EXPECT_TRUE(run.sim.icons.Opened().empty());
  EXPECT_EQ(run.sim.icons.LiveIcons(), 0u);
}

TEST(MenuIcons, TheSizeFollowsTheDpi) {
  for (const auto& [dpi, size] : {std::pair{96, 16}, std::pair{144, 24}, std::pair{192, 32}}) {
    IconRun run(Listed(kLm32, "A", "Alpha", R"(C:\A\u.exe)"), dpi);
    run.sim.icons.AddProgram(R"(C:\A\u.exe)", 1);
    run.Run();
    EXPECT_EQ(run.paints.at(1).at("Alpha"), R"(C:\A\u.exe,0@)" + std::to_string(size)) << dpi;
    EXPECT_EQ(run.sizes.front(), size) << dpi;
  }
}

}  // namespace
