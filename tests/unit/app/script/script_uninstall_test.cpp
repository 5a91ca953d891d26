// One program uninstalled from a script: each way it can end, by its exit code and its one
// line, over the substitute launcher.

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/quiet/quiet_command.h"

namespace {

using testing_support::Entry;
using Scripted = sim::LaunchRecorder::ScriptedRun;

const std::string kFooKey =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";

std::string Program(const std::string& key, const std::string& command, const std::string& quiet) {
  std::vector<std::string> values{"\"DisplayName\"=\"" + key.substr(key.rfind('\\') + 1) + "\"",
                                  "\"UninstallString\"=\"" + command + "\""};
  if (!quiet.empty()) values.push_back("\"QuietUninstallString\"=\"" + quiet + "\"");
  return Entry(key, values);
}

// Foo goes quietly; Bar cannot; Gone's uninstaller is not there; Stray's quiet command names a
// file that is not there; a set-aside key is no program.
std::string Catalogue() {
  using testing_support::kCu, testing_support::kLm32;
  return Program(kLm32 + "Foo", "C:\\\\Foo\\\\u.exe", "C:\\\\Foo\\\\u.exe /S") +
         Program(kLm32 + "Bar", "C:\\\\Bar\\\\u.exe", "") +
         Program(kCu + "Gone", "C:\\\\Gone\\\\u.exe", "") +
         Program(kCu + "Stray", "C:\\\\Bar\\\\u.exe", "C:\\\\Stray\\\\q.exe /S") +
         Program(kCu + "~Tapwise removing~ Foo", "C:\\\\Foo\\\\u.exe", "");
}

struct UninstallCase {
  std::string label;
  std::vector<std::string> arguments;
  std::pair<platform::StartError, platform::StartError> starts;  // directly, through the shell
  Scripted scripted;
  bool entry_goes;  // with the uninstaller's run
  int exit_code;
  std::string error;  // after "Tapwise Uninstaller: "
  friend void PrintTo(const UninstallCase& c, std::ostream* os) { *os << c.label; }
};

class ScriptUninstallTest : public ::testing::TestWithParam<UninstallCase> {};

TEST_P(ScriptUninstallTest, EndsWithItsCodeAndOneLine) {
  const UninstallCase& c = GetParam();
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + Catalogue());
  sim.files.AddFile("C:\\Foo\\u.exe", {2020, 1, 1});
  sim.files.AddFile("C:\\Bar\\u.exe", {2020, 1, 1});
  sim.windows.SetTimeLimit(2 * 60 * 60 * 1000);
  sim.launcher.SetDirectStartResult(c.starts.first);
  sim.launcher.SetShellStartResult(c.starts.second);
  sim.launcher.SetStartAction([&](const platform::StartSpec&) {
    if (c.entry_goes) sim.registry.DeletePhysicalKey(platform::kHkeyLocalMachine, kFooKey);
    return c.scripted;
  });

  EXPECT_EQ(app::RunProgram(bound, c.arguments), c.exit_code);
  EXPECT_EQ(sim.streams.Error(), c.error.empty() ? "" : "Tapwise Uninstaller: " + c.error + "\n");
  const bool quiet = c.arguments.size() > 2;
  for (const sim::Launch& launch : sim.launcher.Launches()) {
    EXPECT_EQ(launch.asked.follow, quiet ? platform::Follow::kJob : platform::Follow::kNothing);
    EXPECT_FALSE(quiet && launch.through_shell) << "never restarted with administrator rights";
  }
  const bool starts = c.exit_code <= 1 || (c.exit_code >= 5 && c.exit_code <= 7);
  EXPECT_EQ(sim.launcher.Launches().size(), starts ? 1u : 0u);
  // Nothing is shown, and nothing remembered for the menu's next start.
  EXPECT_TRUE(sim.windows.Boxes().empty());
  EXPECT_FALSE(sim.registry.KeyExists(platform::kHkeyCurrentUser, "Software\\Quillon"));
}

constexpr Scripted kEnds(std::uint32_t code) {
  return Scripted{platform::kStartOk, 2000, code};
}
constexpr std::pair<platform::StartError, platform::StartError> kStarts{0, 0};
constexpr platform::StartError k740 = platform::kErrorElevationRequired;
const std::vector<std::string> kQuietFoo{"/uninstall", "HKLM32/Foo", "/quiet"};

const UninstallCase kCases[] = {
    {"Removed", kQuietFoo, kStarts, kEnds(0), true, 0, ""},
    {"RemovedRestartNeeded", kQuietFoo, kStarts, kEnds(3010), true, 1,
     "\"Foo\" has been uninstalled; Windows must restart to finish removing it."},
    {"StillListed", kQuietFoo, kStarts, kEnds(1602), false, 5,
     "the uninstaller of \"Foo\" ended with code 1602, and the program is still listed."},
    {"StillRunning",
     kQuietFoo,
     kStarts,
     {0, app::kQuietBoundMs + 1, 0},
     false,
     6,
     "the uninstaller of \"Foo\" is still running at the end of the wait; it has been left "
     "running."},
    {"NeedsAdministrator",
     kQuietFoo,
     {k740, 0},
     {},
     false,
     7,
     "the uninstaller of \"Foo\" needs administrator rights; run the script as an administrator."},
    {"NoQuietCommand",
     {"/uninstall", "HKLM32/Bar", "/quiet"},
     kStarts,
     {},
     false,
     4,
     "\"Bar\" registered no way to uninstall it without its own questions; leave out /quiet to "
     "start its uninstaller."},
    {"QuietUninstallerMissing",
     {"/uninstall", "HKCU/Stray", "/quiet"},
     kStarts,
     {},
     false,
     8,
     "the uninstaller of \"Stray\" is not there: C:\\Stray\\q.exe /S"},
    {"StartedAsTheMenuStartsIt", {"/uninstall", "HKLM32/Bar"}, kStarts, {}, false, 0, ""},
    {"RightsDeclined",
     {"/uninstall", "HKLM32/Bar"},
     {k740, platform::kErrorCancelled},
     {},
     false,
     7,
     "administrator rights were declined: nothing of \"Bar\" was uninstalled."},
    {"UninstallerMissing",
     {"/uninstall", "HKCU/Gone"},
     kStarts,
     {},
     false,
     8,
     "the uninstaller of \"Gone\" is not there: C:\\Gone\\u.exe"},
    {"NoSuchId",
     {"/uninstall", "HKCU/Foo"},
     kStarts,
     {},
     false,
     3,
     "no program has the id \"HKCU/Foo\"."},
    {"SetAsideIsNoProgram",
     {"/uninstall", "HKCU/~Tapwise%20removing~%20Foo"},
     kStarts,
     {},
     false,
     3,
     "no program has the id \"HKCU/~Tapwise%20removing~%20Foo\"."},
};
INSTANTIATE_TEST_SUITE_P(Ends, ScriptUninstallTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.label; });

}  // namespace
