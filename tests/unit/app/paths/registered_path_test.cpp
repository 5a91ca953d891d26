// The one road from a registered text to a file: its variables, its Sysnative path and whether
// it may be opened, in each view; and the launch and the icons naming the same file for every
// command.

#include "app/paths/registered_path.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/icons/icon_source.h"
#include "app/launch/launch_plan.h"
#include "platform/sim/sim_platform.h"

namespace {

using app::EntryView;

constexpr platform::Date kSomeDate{2020, 1, 1};

TEST(Variables, ExpandedAsTheSystemExpandsThem) {
  const app::VariableLookup lookup = [](const std::string& name) -> std::optional<std::string> {
    if (name == "X" || name == "x") return "x";
    if (name == "B") return "v";
    if (name == "P") return "%X%";
    if (name == "E") return "";
    return std::nullopt;
  };
  const struct {
    std::string text;
    std::string expanded;
  } cases[] = {
      {"%X%", "x"},
      {"%x%\\%X%", "x\\x"},
      {"%E%y", "y"},
      {"%P%", "%X%"},  // a value is not expanded again
      {"%NotSet%", "%NotSet%"},
      {"%A%B%", "%A%B%"},  // an unset name's closing mark opens nothing
      {"%A%B%X%", "%A%Bx"},
      {"100%", "100%"},
      {"%%X%", "%%X%"},
      {"5% of %X%", "5% of %X%"},
      {"%X%%X%", "xx"},
      {"a&b|c^d", "a&b|c^d"},
  };
  for (const auto& c : cases) EXPECT_EQ(app::ExpandVariables(c.text, lookup), c.expanded) << c.text;
}

// The substitute system: a 32-bit program on 64-bit Windows, its Windows folder C:\Windows, a
// remote drive N: and a variable B.
struct System {
  System() {
    sim.launcher.SetEnvironmentVariable("B", "v");
    sim.files.SetDriveType("N:\\", platform::DriveType::kRemote);
  }
  app::EntryPaths In(EntryView view, bool wow64 = true) {
    return app::EntryPaths(app::PathSystem{sim.launcher, sim.files, wow64}, view);
  }
  sim::SimPlatform sim;
  app::RemoteDrives drives{sim.files};
};

constexpr EntryView k32 = EntryView::kMachineDefault;
constexpr EntryView k64 = EntryView::kMachine64;
constexpr EntryView kCu = EntryView::kUser;

// What each view makes of a registered text: expanded and reached through Sysnative, and what
// the icons open of it (none: never opened).
TEST(RegisteredPaths, EachViewExpandsAndReachesAsItsOwnProgramsWould) {
  const struct {
    const char* registered;
    EntryView view;
    std::string reached;
    std::optional<std::string> opened;
  } rows[] = {
      {R"(%ProgramFiles%\App\a.exe)", k32, R"(C:\Program Files (x86)\App\a.exe)",
       R"(C:\Program Files (x86)\App\a.exe)"},
      {R"(%ProgramFiles%\App\a.exe)", k64, R"(C:\Program Files\App\a.exe)",
       R"(C:\Program Files\App\a.exe)"},
      {R"(%ProgramFiles%\App\a.exe)", kCu, R"(C:\Program Files (x86)\App\a.exe)",
       R"(C:\Program Files (x86)\App\a.exe)"},
      {R"(%CommonProgramFiles%\x.dll)", k64, R"(C:\Program Files\Common Files\x.dll)",
       R"(C:\Program Files\Common Files\x.dll)"},
      {R"(%CommonProgramFiles%\x.dll)", kCu, R"(C:\Program Files (x86)\Common Files\x.dll)",
       R"(C:\Program Files (x86)\Common Files\x.dll)"},
      {"%PROCESSOR_ARCHITECTURE%", k64, "AMD64", std::nullopt},
      {"%PROCESSOR_ARCHITECTURE%", k32, "x86", std::nullopt},
      {R"(%SystemRoot%\System32\shell32.dll)", k32, R"(C:\Windows\System32\shell32.dll)",
       R"(C:\Windows\System32\shell32.dll)"},
      {R"(%SystemRoot%\System32\shell32.dll)", k64, R"(C:\Windows\Sysnative\shell32.dll)",
       R"(C:\Windows\Sysnative\shell32.dll)"},
      {R"(%SystemRoot%\System32\shell32.dll)", kCu, R"(C:\Windows\System32\shell32.dll)",
       R"(C:\Windows\System32\shell32.dll)"},
      {R"(C:\WINDOWS\SYSTEM32\x.exe)", k64, R"(C:\Windows\Sysnative\x.exe)",
       R"(C:\Windows\Sysnative\x.exe)"},
      {R"(C:\Windows\System32)", k64, R"(C:\Windows\Sysnative)", R"(C:\Windows\Sysnative)"},
      {R"(C:\Windows\system32x\x.exe)", k64, R"(C:\Windows\system32x\x.exe)",
       R"(C:\Windows\system32x\x.exe)"},
      // Changed for the icons: the system's answer, where an unset name's mark opens nothing.
      {R"(C:\%A%B%\a.exe)", k32, R"(C:\%A%B%\a.exe)", R"(C:\%A%B%\a.exe)"},
      {R"(C:\%B%\a.exe)", kCu, R"(C:\v\a.exe)", R"(C:\v\a.exe)"},
      {R"(%Nowhere%\a.exe)", k32, R"(%Nowhere%\a.exe)", std::nullopt},
      {R"(C:\100%\%Nowhere\a.exe)", k32, R"(C:\100%\%Nowhere\a.exe)", R"(C:\100%\%Nowhere\a.exe)"},
      {R"(  C:\Apps\a.exe  )", k32, R"(  C:\Apps\a.exe  )", R"(C:\Apps\a.exe)"},
      // Changed for the icons: a drive's root with a forward slash is a full path, as for the
      // launch.
      {R"(C:/Apps/a.exe)", k32, R"(C:/Apps/a.exe)", R"(C:/Apps/a.exe)"},
      // Never opened: another machine, a device, a path relative to a current folder.
      {R"(\\server\share\a.exe)", k32, R"(\\server\share\a.exe)", std::nullopt},
      {R"(//server/share/a.exe)", k64, R"(//server/share/a.exe)", std::nullopt},
      {R"(\\.\PhysicalDrive0)", k32, R"(\\.\PhysicalDrive0)", std::nullopt},
      {R"(\\?\C:\a.exe)", k32, R"(\\?\C:\a.exe)", std::nullopt},
      {R"(N:\Apps\a.exe)", kCu, R"(N:\Apps\a.exe)", std::nullopt},
      {R"(n:\Apps\a.exe)", k64, R"(n:\Apps\a.exe)", std::nullopt},
      {R"(C:\Apps\CON)", k32, R"(C:\Apps\CON)", std::nullopt},
      {R"(C:\Apps\nul.ico)", k32, R"(C:\Apps\nul.ico)", std::nullopt},
      {R"(C:\Apps\com1.exe)", k32, R"(C:\Apps\com1.exe)", std::nullopt},
      {R"(C:\Apps\com.exe)", k32, R"(C:\Apps\com.exe)", R"(C:\Apps\com.exe)"},
      {R"(C:\Apps\COM1 .exe)", k32, R"(C:\Apps\COM1 .exe)", std::nullopt},
      {R"(C:\Apps\COM1:x)", k32, R"(C:\Apps\COM1:x)", std::nullopt},
      {"C:\\Apps\\COM\xC2\xB9", k32, "C:\\Apps\\COM\xC2\xB9", std::nullopt},
      {R"(C:\Apps\conout$.exe)", k32, R"(C:\Apps\conout$.exe)", std::nullopt},
      {"a.exe", k32, "a.exe", std::nullopt},
      {"C:a.exe", k32, "C:a.exe", std::nullopt},
      {R"(\Apps\u.exe)", k32, R"(\Apps\u.exe)", std::nullopt},
  };
  System system;
  for (const auto& row : rows) {
    const app::EntryPaths paths = system.In(row.view);
    const std::string label =
        std::string(row.registered) + " in view " + std::to_string(static_cast<int>(row.view));
    EXPECT_EQ(paths.Reached(paths.Expanded(row.registered)), row.reached) << label;
    EXPECT_EQ(paths.PathToOpen(row.registered, system.drives), row.opened) << label;
  }
}

// On 32-bit Windows there is one view: the 64-bit one is this process's own.
TEST(RegisteredPaths, On32BitWindowsEveryViewIsThisProcesss) {
  System system;
  for (const EntryView view : {k32, k64, kCu}) {
    const app::EntryPaths paths = system.In(view, false);
    EXPECT_EQ(paths.Expanded("%ProgramFiles%"), "C:\\Program Files (x86)");
    EXPECT_EQ(paths.Reached("C:\\Windows\\system32\\a.exe"), "C:\\Windows\\system32\\a.exe");
  }
}

// A path may be opened unless it lies on another machine or names a device; the dates ask this
// of relative paths too, which lie on the current folder's drive.
TEST(RegisteredPaths, MayOpenNeitherAnotherMachineNorADevice) {
  const struct {
    const char* path;
    bool may_open;
  } rows[] = {
      {R"(C:\Apps\a.exe)", true},
      {"a.exe", true},
      {"C:a.exe", true},
      {R"(\Apps\u.exe)", true},
      {R"(N:\a.exe)", false},
      {"n:a.exe", false},
      {R"(\\server\s\a.exe)", false},
      {R"(\/server\a.exe)", false},
      {R"(\\?\UNC\server\a.exe)", false},
      {R"(\\.\pipe\x)", false},
      {R"(C:\Apps\AUX.txt)", false},
      {"PRN", false},
      {R"(C:\Apps\lpt9)", false},
      {R"(C:\Apps\lpt)", true},
      {R"(C:\Apps\console.exe)", true},
  };
  System system;
  for (const auto& row : rows) {
    EXPECT_EQ(app::MayOpen(row.path, system.drives), row.may_open) << row.path;
  }
  system.sim.files.SetDriveType("", platform::DriveType::kRemote);
  app::RemoteDrives remote_current(system.sim.files);
  EXPECT_FALSE(app::MayOpen("a.exe", remote_current));
  EXPECT_TRUE(app::MayOpen(R"(C:\a.exe)", remote_current));
}

// A file system that counts the drives it is asked about.
class CountingDrives final : public platform::FileDates {
 public:
  std::optional<platform::Date> LastWriteDate(const std::string&) override { return {}; }
  std::uint32_t FindFile(const std::string&) override { return platform::kFileNotFound; }
  platform::DriveType DriveTypeOf(const std::string& root) override {
    ++asked_;
    return root == "N:\\" ? platform::DriveType::kRemote : platform::DriveType::kFixed;
  }
  int Asked() const { return asked_; }

 private:
  std::atomic<int> asked_{0};
};

// The scans' workers, the icons' workers and the GUI thread share one cache: each drive's kind
// is known after its first answer, whichever thread asked.
TEST(RemoteDrives, OneCacheServesEveryThread) {
  CountingDrives files;
  app::RemoteDrives drives(files);
  constexpr int kThreads = 6;
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&drives, &wrong] {
      for (const char letter : std::string("CcNnZ\0", 6)) {
        const bool remote = letter == 'N' || letter == 'n';
        if (drives.IsRemote(letter) != remote) ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, 0);
  // C, N, Z and the current folder's: at most once per thread each, and never again.
  const int asked = files.Asked();
  EXPECT_GE(asked, 4);
  EXPECT_LE(asked, 4 * kThreads);
  for (const char letter : std::string("cCnNzZ\0", 7)) drives.IsRemote(letter);
  EXPECT_EQ(files.Asked(), asked);
}

// The launch and the icons ask the same rules which program a command starts: for every
// command, the file the launch starts is the one whose icon the program gets. The rows marked
// changed gave the icons another file before.
TEST(RegisteredPaths, TheLaunchAndTheIconNameTheSameFile) {
  const struct {
    const char* command;
    EntryView view;
    std::string file;
  } rows[] = {
      {R"("C:\App\uninst" /S)", k32, R"(C:\App\uninst.exe)"},                // changed
      {R"(C:\App Dir\uninst)", k32, R"(C:\App Dir\uninst.exe)"},             // changed
      {R"(C:\Trap\Old Setup\setup /remove)", k32, R"(C:\Trap\Old.exe)"},     // changed
      {R"(C:\Apps\x.exe.old\u.exe /S)", k32, R"(C:\Apps\x.exe.old\u.exe)"},  // changed
      {"hh.exe C:\\x.chm", kCu, R"(C:\Windows\hh.exe)"},                     // changed
      {R"(%SystemRoot%\System32\tool.exe /u)", k64, R"(C:\Windows\Sysnative\tool.exe)"},
      {R"(%SystemRoot%\System32\tool.exe /u)", kCu, R"(C:\Windows\System32\tool.exe)"},
      {R"("%ProgramFiles%\Vendor\uninst.exe" /S)", k64, R"(C:\Program Files\Vendor\uninst.exe)"},
      {R"("%ProgramFiles%\Vendor\uninst.exe" /S)", k32,
       R"(C:\Program Files (x86)\Vendor\uninst.exe)"},
      {R"(C:\%A%B%\u.exe)", k32, R"(C:\%A%B%\u.exe)"},  // changed
  };
  System system;
  for (const char* file :
       {R"(C:\App\uninst.exe)", R"(C:\App Dir\uninst.exe)", R"(C:\Trap\Old.exe)",
        R"(C:\Trap\Old Setup\setup.exe)", R"(C:\Apps\x.exe.old\u.exe)", R"(C:\Windows\hh.exe)",
        R"(C:\Windows\Sysnative\tool.exe)", R"(C:\Windows\System32\tool.exe)",
        R"(C:\Program Files\Vendor\uninst.exe)", R"(C:\Program Files (x86)\Vendor\uninst.exe)",
        R"(C:\%A%B%\u.exe)"}) {
    system.sim.files.AddFile(file, kSomeDate);
  }
  for (const auto& row : rows) {
    app::ProgramEntry program;
    program.command = row.command;
    program.view = row.view;
    const app::PathSystem paths{system.sim.launcher, system.sim.files, true};
    EXPECT_EQ(app::PlanUninstall(program, paths).program, row.file) << row.command;
    EXPECT_EQ(app::CommandIconFile(row.command, system.In(row.view), system.drives), row.file)
        << row.command;
  }
}

}  // namespace
