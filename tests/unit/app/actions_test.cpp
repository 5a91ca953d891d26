// Uninstalling a chosen program and ending a chosen process.

#include <gtest/gtest.h>

#include <cctype>

#include "harness.h"

namespace {

using sim::Launch;
using testing_support::Entry;
using testing_support::Forms;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::Program;

constexpr std::string_view kSettings = "Software\\Quillon\\Tapwise Uninstaller";

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ProgramKey(const std::string& root, const std::string& subkey, const std::string& name,
                       const std::string& command) {
  return Entry(root + subkey,
               {"\"DisplayName\"=" + Quoted(name), "\"UninstallString\"=" + Quoted(command)});
}

std::optional<std::string> LastValue(const sim::SimPlatform& sim) {
  const auto value = sim.registry.Value(platform::kHkeyCurrentUser, kSettings, "Last");
  if (!value) return std::nullopt;
  EXPECT_EQ(value->first, platform::kRegSz);
  const auto& bytes = value->second;
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0) << "stored with its terminator";
  return std::string(bytes.begin(), bytes.end() - 1);
}

// The n-th (from 1) generated "All Programs" item showing that display name.
framework::TMenuItem& ItemOf(const Forms& forms, const std::string& name, int occurrence = 1) {
  framework::TMenuItem& all = forms.AllPrograms();
  for (std::size_t i = 0; i < all.Count(); ++i) {
    const auto& item = dynamic_cast<const app::ProgramMenuItem&>(all[i]);
    if (item.Program.name == name && --occurrence == 0) return all[i];
  }
  throw std::runtime_error("no item " + name);
}

std::string InterpreterParameters(const std::string& command) {
  return "/C \"" + command + "\"";
}

struct LookupCase {
  std::string label;
  std::string reg;
  std::string chosen;
  int occurrence;
  std::string command;  // what must start
  friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.label; }
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, EachItemStartsTheCommandOfItsOwnProgram) {
  const LookupCase& c = GetParam();
  Forms forms(c.reg);
  forms.main_form->RebuildProgramMenus();
  ItemOf(forms, c.chosen, c.occurrence).Click();

  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].request.parameters, InterpreterParameters(c.command));
  EXPECT_EQ(LastValue(forms.sim), c.command);
  EXPECT_TRUE(forms.sim.windows.QuitPending()) << "the program ends after the start";
}

INSTANTIATE_TEST_SUITE_P(
    Identity, LookupTest,
    ::testing::Values(LookupCase{"NotTheFirstLineHoldingTheName",
                                 ProgramKey(kLm32, "lo", "LibreOffice", "C:\\LO\\uninst.exe") +
                                     ProgramKey(kLm32, "o", "Office", "C:\\Office\\uninst.exe"),
                                 "Office", 1, "C:\\Office\\uninst.exe"},
                      LookupCase{"NotALineWhoseCommandHoldsTheName",
                                 ProgramKey(kLm32, "a", "Alpha", "C:\\Beta\\unins.exe") +
                                     ProgramKey(kLm32, "b", "Beta", "C:\\BetaApp\\remove.exe"),
                                 "Beta", 1, "C:\\BetaApp\\remove.exe"},
                      LookupCase{"LetterCaseOfTheName",
                                 ProgramKey(kLm32, "a", "Acme FOO", "C:\\Acme\\remove.exe") +
                                     ProgramKey(kLm32, "f", "Foo", "C:\\Foo\\remove.exe"),
                                 "Foo", 1, "C:\\Foo\\remove.exe"},
                      LookupCase{"AmpersandInTheName",
                                 ProgramKey(kCu, "att", "AT&T Connect", "C:\\ATT\\u.exe"),
                                 "AT&T Connect", 1, "C:\\ATT\\u.exe"},
                      LookupCase{"SecondOfTwoSameNamedEntries",
                                 ProgramKey(kLm32, "f", "Foo", "C:\\Foo32\\u.exe") +
                                     ProgramKey(kLm64, "f", "Foo", "C:\\Foo64\\u.exe"),
                                 "Foo", 2, "C:\\Foo64\\u.exe"},
                      LookupCase{"SeparatorInTheName",
                                 ProgramKey(kLm32, "s", "A<#>B", "C:\\AB\\u.exe"), "A<#>B", 1,
                                 "C:\\AB\\u.exe"}),
    [](const auto& info) { return info.param.label; });

struct StartCase {
  std::string label;
  std::string command;
  Launch::Kind kind;
  std::string file;
  std::string verb;
  std::string parameters;
  int show;
  friend void PrintTo(const StartCase& c, std::ostream* os) { *os << c.label; }
};

class StartTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartTest, WindowsInstallerStartsDirectlyAndTheRestThroughTheInterpreter) {
  const StartCase& c = GetParam();
  Forms forms;
  forms.main_form->LaunchUninstall(c.command);
  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  const platform::ShellExecuteRequest& started = launches[0].request;
  EXPECT_EQ(launches[0].kind, c.kind);
  EXPECT_EQ(started.file, c.file);
  EXPECT_EQ(started.verb, c.verb);
  EXPECT_EQ(started.parameters, c.parameters);
  EXPECT_EQ(started.directory, "");
  EXPECT_EQ(started.owner, platform::kNoWindow);
  EXPECT_EQ(started.show, c.show);
  EXPECT_EQ(LastValue(forms.sim), c.command);
}

const std::string kQuotedWithSwitch = "\"C:\\Program Files\\Foo\\unins000.exe\" /S";
const std::string kSystem = "C:\\Windows\\system32\\";

INSTANTIATE_TEST_SUITE_P(
    Rules, StartTest,
    ::testing::Values(
        // A program named without a directory is the system's; the command line stays as it is.
        StartCase{"MsiExecAsRegistered", "MsiExec.exe /X{1234}", Launch::Kind::kCommandLine,
                  kSystem + "MsiExec.exe", "", "MsiExec.exe /X{1234}",
                  platform::kSwShowNormalWindow},
        StartCase{"MsiExecQuoted", "\"msiexec.exe\" /x{1}", Launch::Kind::kCommandLine,
                  kSystem + "msiexec.exe", "", "\"msiexec.exe\" /x{1}",
                  platform::kSwShowNormalWindow},
        StartCase{"MsiExecAfterBlanks", " \tMsiExec.exe /X{1}", Launch::Kind::kCommandLine,
                  kSystem + "MsiExec.exe", "", " \tMsiExec.exe /X{1}",
                  platform::kSwShowNormalWindow},
        StartCase{"ProgramWithoutExtension", "msiexec /x{1} /l*v MSIEXEC.EXE.log",
                  Launch::Kind::kCommandLine, kSystem + "msiexec.exe", "",
                  "msiexec /x{1} /l*v MSIEXEC.EXE.log", platform::kSwShowNormalWindow},
        // A program with a directory is left to the system, exactly as registered.
        StartCase{"MsiExecContainedInAPath", "C:\\Windows\\System32\\msiexec.exe /x {1}",
                  Launch::Kind::kCommandLine, "", "", "C:\\Windows\\System32\\msiexec.exe /x {1}",
                  platform::kSwShowNormalWindow},
        StartCase{"MsiExecInAQuotedPathWithBlanks", "\"C:\\My Tools\\MsiExec.exe\" /X{1}",
                  Launch::Kind::kCommandLine, "", "", "\"C:\\My Tools\\MsiExec.exe\" /X{1}",
                  platform::kSwShowNormalWindow},
        StartCase{"MsiExecOnAnotherDrive", "D:msiexec.exe /x{1}", Launch::Kind::kCommandLine, "",
                  "", "D:msiexec.exe /x{1}", platform::kSwShowNormalWindow},
        StartCase{"QuotedPathWithSwitch", kQuotedWithSwitch, Launch::Kind::kExecute,
                  kSystem + "cmd.exe", "", "/C \"" + kQuotedWithSwitch + "\"",
                  platform::kSwHideWindow},
        StartCase{"EnvironmentVariableLeftToTheInterpreter", "%ProgramFiles%\\Foo\\u.exe",
                  Launch::Kind::kExecute, kSystem + "cmd.exe", "",
                  "/C \"%ProgramFiles%\\Foo\\u.exe\"", platform::kSwHideWindow}),
    [](const auto& info) { return info.param.label; });

// Without a system directory nothing starts: a bare name would find a dropped file first.
TEST(Uninstall, NoSystemDirectoryStartsNothing) {
  for (const std::string command : {"MsiExec.exe /X{1}", "C:\\Foo\\u.exe"}) {
    Forms forms;
    forms.sim.launcher.SetSystemDirectory("");
    forms.main_form->LaunchUninstall(command);
    EXPECT_TRUE(forms.sim.launcher.Launches().empty()) << command;
    EXPECT_EQ(LastValue(forms.sim), command);
  }
}

TEST(Uninstall, ASystemDirectoryEndingInABackslashIsNotDoubled) {
  Forms forms;
  forms.sim.launcher.SetSystemDirectory("C:\\");
  forms.main_form->LaunchUninstall("MsiExec.exe /X{1}");
  ASSERT_EQ(forms.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(forms.sim.launcher.Launches()[0].request.file, "C:\\MsiExec.exe");
}

TEST(Uninstall, AnUnwritableLastCommandStillStartsTheUninstaller) {
  Forms forms;
  forms.sim.registry.CreatePhysicalKey(platform::kHkeyCurrentUser, kSettings);
  forms.sim.registry.DenyAccess(platform::kHkeyCurrentUser, kSettings);
  forms.main_form->LaunchUninstall("C:\\Foo\\u.exe");
  EXPECT_EQ(forms.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(forms.sim.registry.OpenHandleCount(), 0u);
}

TEST(Uninstall, WithoutACommandTheNoticeAndTheToolsPageThenTheEnd) {
  Program program(Entry(kLm32 + "foo", {"\"DisplayName\"=\"Foo\""}));
  sim::WindowSystem& ws = program.sim.windows;
  // Windows' list leaves such an entry out: the user asks for it in the options first.
  ws.ChooseMenuItem({"Tapwise Uninstaller", "Options..."}, 100);
  ws.At(200, [&ws] {
    ws.Click(ws.FindByCaption("Show system components and updates"));
    ws.Click(ws.FindByCaption("OK"));
  });
  ws.ChooseMenuItem({"All Programs", "Foo"}, 500);
  ws.AnswerBox(platform::kIdOk, 60000);  // far longer than the auto-close period
  program.Run();

  ASSERT_EQ(ws.Boxes().size(), 1u);
  const sim::BoxRecord& notice = ws.Boxes()[0];
  EXPECT_EQ(notice.owner, platform::kNoWindow);
  EXPECT_EQ(notice.caption, "Tapwise Uninstaller");
  EXPECT_EQ(notice.text,
            "Tapwise Uninstaller cannot uninstall this program. Please try another tool.");
  EXPECT_EQ(notice.style, platform::kMbIconInformation);

  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].time_ms, notice.closed_ms);
  EXPECT_EQ(launches[0].request.verb, "open");
  EXPECT_EQ(launches[0].request.file,
            "http://www.quillon-software.com/tapwise-uninstaller/tools.php?ver=1.9");
  EXPECT_EQ(launches[0].request.show, platform::kSwShowNormalWindow);
  EXPECT_EQ(LastValue(program.sim), "");
  EXPECT_EQ(ws.Now(), notice.closed_ms);
}

// --- Ending processes -------------------------------------------------------------------

class KillTest : public ::testing::TestWithParam<std::string> {};

TEST_P(KillTest, StartsTaskKillItselfElevatedWithTheNameQuoted) {
  const std::string& name = GetParam();
  Forms forms;
  forms.sim.processes.SetProcesses({"My Tool.exe", "A&B.exe", "AB.exe"});
  forms.main_form->RebuildProcessMenu();
  framework::TMenuItem& kill = forms.KillProcess();
  for (std::size_t i = 0; i < kill.Count(); ++i) {
    if (dynamic_cast<const app::ProcessMenuItem&>(kill[i]).ProcessName == name) kill[i].Click();
  }

  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  const platform::ShellExecuteRequest& request = launches[0].request;
  EXPECT_EQ(launches[0].kind, Launch::Kind::kExecuteEx);
  EXPECT_EQ(request.mask, 0x500u);
  EXPECT_EQ(request.owner, platform::kNoWindow);
  EXPECT_EQ(request.verb, "runas");
  EXPECT_EQ(request.file, "C:\\Windows\\system32\\taskkill.exe");
  EXPECT_EQ(request.parameters, "/F /IM \"" + name + "\" /T");
  EXPECT_EQ(request.directory, "");
  EXPECT_EQ(request.show, platform::kSwHideWindow);
  EXPECT_FALSE(forms.sim.windows.QuitPending());
}

INSTANTIATE_TEST_SUITE_P(Names, KillTest, ::testing::Values("My Tool.exe", "A&B.exe", "AB.exe"),
                         [](const auto& info) {
                           std::string label;
                           for (char c : info.param) label += std::isalnum(c) ? c : '_';
                           return label;
                         });

TEST(Kill, NoSystemDirectoryStartsNothing) {
  Forms forms;
  forms.sim.launcher.SetSystemDirectory("");
  forms.sim.processes.SetProcesses({"AB.exe"});
  forms.main_form->RebuildProcessMenu();
  ASSERT_EQ(forms.KillProcess().Count(), 1u);
  (forms.KillProcess())[0].Click();
  EXPECT_TRUE(forms.sim.launcher.Launches().empty());
}

TEST(Kill, TheProgramEndsThroughTheAutoClose) {
  Program program;
  program.sim.processes.SetProcesses({"A&B.exe"});
  sim::WindowSystem& ws = program.sim.windows;
  ws.ChooseMenuItem({"Kill Process", "A&B.exe"}, 800);
  program.Run();
  ASSERT_EQ(ws.Popups().size(), 1u);
  ASSERT_EQ(program.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(program.sim.launcher.Launches()[0].time_ms, ws.Popups()[0].closed_ms);
  EXPECT_EQ(ws.Now(), ws.Popups()[0].closed_ms + 3000);
}

}  // namespace
