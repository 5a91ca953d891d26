// The process snapshot and the launcher, with copies of the helper program under awkward names.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/launcher.h"
#include "platform/win32/process_snapshots.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;
using win32_test::ScratchDir;
using win32_test::WaitFor;

constexpr auto kStartLimit = 10s;

std::string Utf8(const std::filesystem::path& path) {
  return win32::WideToUtf8(path.wstring());
}
std::wstring Quoted(const std::filesystem::path& path) {
  return L"\"" + path.wstring() + L"\"";
}

std::vector<std::string> SnapshotNames(win32::ProcessSnapshots& snapshots) {
  std::vector<std::string> names;
  const platform::SnapshotHandle snapshot = snapshots.CreateSnapshot(platform::kSnapProcess, 0);
  if (snapshot == 0) return names;
  std::string name;
  for (bool more = snapshots.First(snapshot, name); more; more = snapshots.Next(snapshot, name)) {
    names.push_back(name);
  }
  snapshots.Close(snapshot);
  return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(ProcessSnapshotsTest, SeesStartedProgramsByTheirFileNames) {
  const ScratchDir dir;
  const std::vector<std::wstring> names = {L"My Tool.exe", L"A&B.exe", L"Größe.EXE"};
  std::vector<win32_test::RunningProcess> running;
  for (const std::wstring& name : names) {
    const auto copy = dir.path() / name;
    std::filesystem::copy_file(win32_test::HelperPath(), copy);
    running.emplace_back(Quoted(copy));
    ASSERT_TRUE(running.back()) << Utf8(copy);
  }
  win32::ProcessSnapshots snapshots;
  const std::vector<std::string> seen = SnapshotNames(snapshots);
  for (const std::wstring& name : names) {
    EXPECT_TRUE(Contains(seen, win32::WideToUtf8(name))) << win32::WideToUtf8(name);
  }
  EXPECT_TRUE(Contains(seen, "win32_tests.exe"));

  for (auto& process : running) process.Terminate();
  EXPECT_TRUE(WaitFor([&] { return !Contains(SnapshotNames(snapshots), "My Tool.exe"); }, 5s));
}

TEST(ProcessSnapshotsTest, AProcessIsKnownByItsImageFile) {
  const win32_test::RunningProcess helper(Quoted(win32_test::HelperPath()) + L" wait");
  ASSERT_TRUE(helper);
  const std::string expected = Utf8(win32_test::HelperPath());
  win32::ProcessSnapshots snapshots;
  std::string image;
  WaitFor(
      [&] {
        image = snapshots.ImagePathOf("win32_test_helper.exe");
        return !image.empty();
      },
      5s);
  EXPECT_EQ(::lstrcmpiW(win32::Utf8ToWide(image).c_str(), win32::Utf8ToWide(expected).c_str()), 0)
      << image;
  EXPECT_EQ(snapshots.ImagePathOf("no-such-process.exe"), "");
}

TEST(ProcessSnapshotsTest, NoSnapshotReadsNothing) {
  win32::ProcessSnapshots snapshots;
  std::string name = "unchanged";
  EXPECT_FALSE(snapshots.First(0, name));
  EXPECT_FALSE(snapshots.Next(0, name));
  EXPECT_EQ(name, "unchanged");
}

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::copy_file(win32_test::HelperPath(), tool_); }

  bool MarkerAppears(const std::filesystem::path& marker) {
    return WaitFor([&] { return std::filesystem::exists(marker); }, kStartLimit) &&
           WaitFor([&] { return win32_test::ReadFile(marker) == "ok"; }, kStartLimit);
  }

  ScratchDir dir_;
  const std::filesystem::path tool_ = dir_.path() / L"My Tool.exe";
  win32::Launcher launcher_;
};

// Each start leaves a marker that only the program meant, with the arguments meant, in the
// folder meant, can write.
TEST_F(LauncherTest, StartsRunTheGivenProgramWithItsArgumentsInItsFolder) {
  const auto Asked = [&](std::string command_line, std::string parameters, std::string directory,
                         std::string verb) {
    platform::StartSpec asked;
    asked.program = Utf8(tool_);
    asked.command_line = std::move(command_line);
    asked.parameters = std::move(parameters);
    asked.directory = std::move(directory);
    asked.verb = std::move(verb);
    asked.show = platform::kSwHideWindow;
    return asked;
  };
  const auto marker = dir_.path() / L"mark é.txt";
  const std::string folder = Utf8(dir_.path());
  const struct {
    const char* name;
    platform::StartSpec asked;
    std::filesystem::path marker;
  } cases[] = {
      {"a quoted path", Asked(Utf8(Quoted(tool_) + L" --marker " + Quoted(marker)), "", "", ""),
       marker},
      // No program of the command line's first word exists: no folder is searched for it.
      {"whatever the command line names",
       Asked("NoSuchProgram.exe --marker " + Utf8(Quoted(dir_.path() / L"given.txt")), "", "", ""),
       dir_.path() / L"given.txt"},
      {"in the given folder", Asked(Utf8(Quoted(tool_)) + " --marker here.txt", "", folder, ""),
       dir_.path() / L"here.txt"},
      {"through the shell, in the given folder", Asked("", "--marker relative.txt", folder, ""),
       dir_.path() / L"relative.txt"},
      {"through the shell, with a verb",
       Asked("", "--marker \"" + Utf8(dir_.path() / L"ex ü.txt") + "\"", "", "open"),
       dir_.path() / L"ex ü.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(launcher_.Start(c.asked).Error(), platform::kStartOk);
    EXPECT_TRUE(MarkerAppears(c.marker));
  }
}

// Half a surrogate pair in a command reaches the started program as it was stored.
TEST_F(LauncherTest, ALoneSurrogateReachesTheProgramExactly) {
  const auto written = dir_.path() / L"line.bin";
  const std::wstring lone{static_cast<wchar_t>(0xD800)};
  const std::wstring line = Quoted(tool_) + L" --command-line " + Quoted(written) + L" x" + lone;
  platform::StartSpec asked;
  asked.program = Utf8(tool_);
  asked.command_line = Utf8(line);
  asked.show = platform::kSwHideWindow;
  ASSERT_EQ(launcher_.Start(asked).Error(), platform::kStartOk);
  ASSERT_TRUE(WaitFor([&] { return win32_test::ReadFile(written).size() == line.size() * 2; },
                      kStartLimit));
  const std::string bytes = win32_test::ReadFile(written);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), line.size()), line);
}

// The system's texts with an insert name the file; none shows "%1", nor ends in a line break.
TEST_F(LauncherTest, ErrorTextsNameTheFileForTheirInsert) {
  const std::string path = "C:\\Apps\\100%\\u.exe";
  const struct {
    platform::StartError error;
    bool names_the_file;
  } cases[] = {
      {platform::kErrorBadExeFormat, true},   // "%1 is not a valid Win32 application."
      {platform::kErrorFileNotFound, false},  // a failed start's, start_test
      {platform::kErrorAccessDenied, false},
  };
  for (const auto& c : cases) {
    const std::string text = launcher_.ErrorText(c.error, path);
    ASSERT_FALSE(text.empty()) << c.error;
    EXPECT_EQ(text.find("%1"), std::string::npos) << text;
    EXPECT_EQ(text.find(path) != std::string::npos, c.names_the_file) << text;
    EXPECT_NE(text.back(), '\n') << text;
  }
}

TEST_F(LauncherTest, TheSystemDirectoryHoldsTheSystemsPrograms) {
  const std::string directory = launcher_.SystemDirectory();
  ASSERT_FALSE(directory.empty());
  for (const char* program : {"cmd.exe", "taskkill.exe", "msiexec.exe"}) {
    EXPECT_TRUE(std::filesystem::exists(
        std::filesystem::path(win32::Utf8ToWide(platform::SystemProgram(launcher_, program)))))
        << program;
  }
}

TEST_F(LauncherTest, StartedProgramGetsTheShowState) {
  const auto marker = dir_.path() / L"show.txt";
  platform::StartSpec asked;
  asked.program = Utf8(tool_);
  asked.command_line = Utf8(Quoted(tool_) + L" --show-state " + Quoted(marker));
  asked.show = platform::kSwShowMinNoActive;
  launcher_.Start(asked);
  ASSERT_TRUE(WaitFor([&] { return !win32_test::ReadFile(marker).empty(); }, kStartLimit));
  EXPECT_EQ(win32_test::ReadFile(marker), std::to_string(platform::kSwShowMinNoActive));
}

}  // namespace
