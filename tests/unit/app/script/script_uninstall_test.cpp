// One program uninstalled from a script: each way it can end, by its exit code and its one
// line, over the substitute launcher.

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/quiet/quiet_command.h"

namespace {

using testing_support::Entry;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kRegHeader;
using Scripted = sim::LaunchRecorder::ScriptedRun;

constexpr platform::Date kSomeDate{2020, 1, 1};
const std::string kFooPath =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";

// Foo can be removed quietly; Bar cannot; Gone's uninstaller is not there; Stray's quiet
// command names a file that is not there.
std::string Catalogue() {
  return Entry(kLm32 + "Foo",
               {"\"DisplayName\"=\"Foo\"", "\"UninstallString\"=\"C:\\\\Foo\\\\u.exe\"",
                "\"QuietUninstallString\"=\"C:\\\\Foo\\\\u.exe /S\""}) +
         Entry(kLm32 + "Bar",
               {"\"DisplayName\"=\"Bar\"", "\"UninstallString\"=\"C:\\\\Bar\\\\u.exe\""}) +
         Entry(kCu + "Gone",
               {"\"DisplayName\"=\"Gone\"", "\"UninstallString\"=\"C:\\\\Gone\\\\u.exe\""}) +
         Entry(kCu + "Stray",
               {"\"DisplayName\"=\"Stray\"", "\"UninstallString\"=\"C:\\\\Bar\\\\u.exe\"",
                "\"QuietUninstallString\"=\"C:\\\\Stray\\\\q.exe /S\""}) +
         Entry(kCu + "~Tapwise removing~ Foo",
               {"\"DisplayName\"=\"Foo\"", "\"UninstallString\"=\"C:\\\\Foo\\\\u.exe\""});
}

struct UninstallCase {
  std::string label;
  std::vector<std::string> arguments;
  std::pair<platform::StartError, platform::StartError> starts;  // directly, through the shell
  Scripted scripted;
  bool entry_goes;  // with the uninstaller's run
  int exit_code;
  std::string error;  // after "Tapwise Uninstaller: "
  std::size_t launches;
  friend void PrintTo(const UninstallCase& c, std::ostream* os) { *os << c.label; }
};

class ScriptUninstallTest : public ::testing::TestWithParam<UninstallCase> {};

TEST_P(ScriptUninstallTest, EndsWithItsCodeAndOneLine) {
  const UninstallCase& c = GetParam();
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  sim.registry.LoadRegText(std::string(kRegHeader) + Catalogue());
  sim.files.AddFile("C:\\Foo\\u.exe", kSomeDate);
  sim.files.AddFile("C:\\Bar\\u.exe", kSomeDate);
  sim.windows.SetTimeLimit(2 * 60 * 60 * 1000);
  sim.launcher.SetDirectStartResult(c.starts.first);
  sim.launcher.SetShellStartResult(c.starts.second);
  sim.launcher.SetStartAction([&](const platform::StartSpec&) {
    if (c.entry_goes) sim.registry.DeletePhysicalKey(platform::kHkeyLocalMachine, kFooPath);
    return c.scripted;
  });

  EXPECT_EQ(app::RunProgram(bound, c.arguments), c.exit_code);
  EXPECT_EQ(sim.streams.Error(), c.error.empty() ? "" : "Tapwise Uninstaller: " + c.error + "\n");
  const auto& launches = sim.launcher.Launches();
  ASSERT_EQ(launches.size(), c.launches);
  for (const sim::Launch& launch : launches) {
    const bool quiet = c.arguments.size() > 2;
    EXPECT_EQ(launch.asked.follow, quiet ? platform::Follow::kJob : platform::Follow::kNothing);
    if (quiet) {
      EXPECT_FALSE(launch.through_shell) << "never restarted with administrator rights";
    }
  }
  // Nothing is shown, and nothing remembered for the menu's next start.
  EXPECT_TRUE(sim.windows.Boxes().empty());
  EXPECT_TRUE(sim.windows.Popups().empty());
  EXPECT_FALSE(
      sim.registry.KeyExists(platform::kHkeyCurrentUser, "Software\\Quillon\\Tapwise Uninstaller"));
}

const Scripted kEndsAt(std::uint32_t code) {
  return Scripted{platform::kStartOk, 2000, code};
}
constexpr std::pair<platform::StartError, platform::StartError> kStarts{0, 0};
constexpr platform::StartError k740 = platform::kErrorElevationRequired;
const std::vector<std::string> kQuietFoo{"/uninstall", "HKLM32/Foo", "/quiet"};
const std::string kFooListed = "the uninstaller of \"Foo\" ended with code ";

const UninstallCase kCases[] = {
    {"Removed", kQuietFoo, kStarts, kEndsAt(0), true, 0, "", 1},
    {"RemovedRestartNeeded", kQuietFoo, kStarts, kEndsAt(3010), true, 1,
     "\"Foo\" has been uninstalled; Windows must restart to finish removing it.", 1},
    {"StillListed", kQuietFoo, kStarts, kEndsAt(1602), false, 5,
     kFooListed + "1602, and the program is still listed.", 1},
    {"ListedDespiteSuccess", kQuietFoo, kStarts, kEndsAt(0), false, 5,
     kFooListed + "0, and the program is still listed.", 1},
    {"StillRunning",
     kQuietFoo,
     kStarts,
     {0, app::kQuietBoundMs + 1, 0},
     false,
     6,
     "the uninstaller of \"Foo\" is still running at the end of the wait; it has been left "
     "running.",
     1},
    {"NeedsAdministrator",
     kQuietFoo,
     {k740, 0},
     {},
     false,
     7,
     "the uninstaller of \"Foo\" needs administrator rights; run the script as an administrator.",
     1},
    {"NoQuietCommand",
     {"/uninstall", "HKLM32/Bar", "/quiet"},
     kStarts,
     {},
     false,
     4,
     "\"Bar\" registered no way to uninstall it without its own questions; leave out /quiet to "
     "start its uninstaller.",
     0},
    {"QuietUninstallerMissing",
     {"/uninstall", "HKCU/Stray", "/quiet"},
     kStarts,
     {},
     false,
     8,
     "the uninstaller of \"Stray\" is not there: C:\\Stray\\q.exe /S",
     0},
    {"StartedAsTheMenuStartsIt", {"/uninstall", "HKLM32/Bar"}, kStarts, {}, false, 0, "", 1},
    {"RightsDeclined",
     {"/uninstall", "HKLM32/Bar"},
     {k740, platform::kErrorCancelled},
     {},
     false,
     7,
     "administrator rights were declined: nothing of \"Bar\" was uninstalled.",
     1},
    {"UninstallerMissing",
     {"/uninstall", "HKCU/Gone"},
     kStarts,
     {},
     false,
     8,
     "the uninstaller of \"Gone\" is not there: C:\\Gone\\u.exe",
     0},
    {"NoSuchId",
     {"/uninstall", "HKCU/Foo"},
     kStarts,
     {},
     false,
     3,
     "no program has the id \"HKCU/Foo\".",
     0},
    {"SetAsideIsNoProgram",
     {"/uninstall", "HKCU/~Tapwise%20removing~%20Foo", "/quiet"},
     kStarts,
     {},
     false,
     3,
     "no program has the id \"HKCU/~Tapwise%20removing~%20Foo\".",
     0},
    {"MalformedId",
     {"/uninstall", "HKCU/a%2"},
     kStarts,
     {},
     false,
     2,
     "\"HKCU/a%2\" is not a program's id as /list gives it.",
     0},
};
INSTANTIATE_TEST_SUITE_P(Ends, ScriptUninstallTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.label; });

TEST(ScriptUninstall, A64BitIdNamesNothingOnA32BitSystem) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  sim.registry.LoadRegText(std::string(kRegHeader) + Catalogue());
  sim.registry.SetSystem64(false);
  EXPECT_EQ(app::RunProgram(bound, {"/uninstall", "HKLM64/Foo"}), 3);
  EXPECT_TRUE(sim.launcher.Launches().empty());
}

}  // namespace
