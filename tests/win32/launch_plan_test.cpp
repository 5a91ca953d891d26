// The launch plan over the real system: variables as the system expands them, the system's own
// programs in both halves of 64-bit Windows, and uninstallers started where they lie.

#include "app/launch/launch_plan.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "app/launch/launch_start.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/launcher.h"
#include "platform/win32/registry.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;
using app::EntryView;
using app::LaunchKind;
using win32_test::ScratchDir;
using win32_test::WaitFor;

constexpr auto kStartLimit = 10s;

std::string Utf8(const std::filesystem::path& path) {
  return win32::WideToUtf8(path.wstring());
}

class LaunchPlanTest : public ::testing::Test {
 protected:
  app::LaunchPlan Plan(const std::string& command, EntryView view) {
    app::ProgramEntry entry;
    entry.name = "Entry";
    entry.command = command;
    entry.view = view;
    return app::PlanUninstall(entry, app::PathSystem{launcher_, files_, wow64_});
  }

  std::string SystemExpanded(const std::string& text) {
    const std::wstring wide = win32::Utf8ToWide(text);
    std::wstring out(32768, L'\0');
    const DWORD length = ::ExpandEnvironmentStringsW(wide.c_str(), out.data(), out.size());
    out.resize(length == 0 ? 0 : length - 1);
    return win32::WideToUtf8(out);
  }

  win32::Launcher launcher_;
  win32::FileDates files_;
  const bool wow64_ = win32::Registry().HasSeparate64BitView();
};

// The text an entry's path becomes is the system's own answer, in every view that is this
// process's own, and in the icons' and the dates' use of it as in the launch's.
TEST_F(LaunchPlanTest, VariablesOfThisProcessExpandAsTheSystemExpandsThem) {
  ASSERT_TRUE(::SetEnvironmentVariableW(L"TapwiseTestB", L"v"));
  ::SetEnvironmentVariableW(L"TapwiseTestA", nullptr);
  for (const EntryView view : {EntryView::kMachineDefault, EntryView::kUser}) {
    const app::EntryPaths paths(app::PathSystem{launcher_, files_, wow64_}, view);
    for (const std::string text :
         {"%SystemRoot%\\System32\\x.exe", "%systemroot%", "%NoSuchVariable%\\x", "100%",
          "5% of %windir%", "%%windir%", "%windir%%windir%", "%NoSuchVariable%windir%",
          "%TapwiseTestA%TapwiseTestB%", "C:\\%TapwiseTestB%\\u.exe",
          "\"%ProgramFiles%\\a b\\u.exe\" /S %1"}) {
      EXPECT_EQ(paths.Expanded(text), SystemExpanded(text)) << text;
    }
  }
  ::SetEnvironmentVariableW(L"TapwiseTestB", nullptr);
}

TEST_F(LaunchPlanTest, A64BitEntrySeesThe64BitProgramFolders) {
  const app::EntryPaths native(app::PathSystem{launcher_, files_, wow64_}, EntryView::kMachine64);
  const std::string expanded = native.Expanded("%ProgramFiles%|%CommonProgramFiles%");
  if (!wow64_) {
    EXPECT_EQ(expanded, SystemExpanded("%ProgramFiles%|%CommonProgramFiles%"));
    return;
  }
  EXPECT_EQ(expanded, SystemExpanded("%ProgramW6432%|%CommonProgramW6432%"));
  EXPECT_NE(expanded, SystemExpanded("%ProgramFiles%|%CommonProgramFiles%"));
}

TEST_F(LaunchPlanTest, SystemProgramsAreFoundInTheSystemFolderOfTheEntrysView) {
  const app::LaunchPlan own = Plan("rundll32.exe user32.dll,MessageBeep", EntryView::kUser);
  ASSERT_EQ(own.kind, LaunchKind::kStart);
  EXPECT_EQ(own.program, platform::SystemProgram(launcher_, "rundll32.exe"));
  EXPECT_EQ(own.directory, launcher_.SystemDirectory());

  const app::LaunchPlan native = Plan("MsiExec /X{1}", EntryView::kMachine64);
  ASSERT_EQ(native.kind, LaunchKind::kStart);
  const std::string system_msiexec = platform::SystemProgram(launcher_, "MsiExec.exe");
  EXPECT_EQ(native.command_line, "\"" + system_msiexec + "\" /X{1}");
  if (wow64_) {
    EXPECT_EQ(native.program, launcher_.WindowsDirectory() + "\\Sysnative\\MsiExec.exe");
  } else {
    EXPECT_EQ(native.program, system_msiexec);
  }
  EXPECT_TRUE(files_.FileExists(native.program));
}

TEST_F(LaunchPlanTest, FilesAndDrivesAreToldApart) {
  EXPECT_TRUE(files_.FileExists(Utf8(win32_test::HelperPath())));
  EXPECT_FALSE(files_.FileExists(launcher_.SystemDirectory()));
  EXPECT_FALSE(files_.FileExists(launcher_.SystemDirectory() + "\\no such file.exe"));
  EXPECT_EQ(files_.DriveTypeOf(launcher_.WindowsDirectory().substr(0, 3)),
            platform::DriveType::kFixed);
  EXPECT_NE(files_.DriveTypeOf(""), platform::DriveType::kRemote);
}

// An uninstaller in a folder whose name means something to a command interpreter, registered
// unquoted, starts in its own folder with its arguments as written.
TEST_F(LaunchPlanTest, AnUnquotedPathWithShellCharactersStartsInItsOwnFolder) {
  const ScratchDir dir;
  const std::filesystem::path folder = dir.path() / L"AT&T 100% ^x";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(win32_test::HelperPath(), folder / L"un ins.exe");
  const app::LaunchPlan plan =
      Plan(Utf8(folder / L"un ins.exe") + " --marker marked.txt", EntryView::kMachineDefault);
  ASSERT_EQ(plan.kind, LaunchKind::kStart);
  EXPECT_EQ(plan.directory, Utf8(folder));
  ASSERT_EQ(launcher_.Start(app::UninstallerStart(plan)).Error(), platform::kStartOk);
  EXPECT_TRUE(
      WaitFor([&] { return win32_test::ReadFile(folder / L"marked.txt") == "ok"; }, kStartLimit));
}

// A batch file runs through the system's interpreter, with its arguments as written.
TEST_F(LaunchPlanTest, ABatchFileRunsThroughTheSystemsInterpreter) {
  const ScratchDir dir;
  const std::filesystem::path folder = dir.path() / L"Batch Dir";
  std::filesystem::create_directories(folder);
  { std::ofstream(folder / L"remove.bat") << "@echo %*> written.txt\r\n"; }
  const app::LaunchPlan plan =
      Plan(Utf8(folder / L"remove.bat") + " /quiet /x", EntryView::kMachineDefault);
  ASSERT_EQ(plan.kind, LaunchKind::kStart);
  ASSERT_EQ(launcher_.Start(app::UninstallerStart(plan)).Error(), platform::kStartOk);
  EXPECT_TRUE(WaitFor(
      [&] { return win32_test::ReadFile(folder / L"written.txt").rfind("/quiet /x", 0) == 0; },
      kStartLimit))
      << win32_test::ReadFile(folder / L"written.txt");
}

}  // namespace
