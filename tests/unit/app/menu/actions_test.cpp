// Uninstalling a chosen program and ending a chosen process.

#include <gtest/gtest.h>

#include <cctype>

#include "app/harness.h"

namespace {

using testing_support::Entry;
using testing_support::Forms;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::Program;

constexpr std::string_view kSettings = "Software\\Quillon\\Tapwise Uninstaller";
constexpr platform::Date kSomeDate{2020, 1, 1};

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

app::ProgramEntry ProgramOf(const std::string& name, const std::string& command) {
  app::ProgramEntry program;
  program.name = name;
  program.command = command;
  return program;
}

std::string QuotedPath(const std::string& path) {
  return "\"" + path + "\"";
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
  // Every command of the table is one program's path, and every such program is there.
  for (const auto& line : forms.main_form->CurrentCatalogue().programs) {
    forms.sim.files.AddFile(line.program.command, kSomeDate);
  }
  ItemOf(forms, c.chosen, c.occurrence).Click();
  forms.Settle();

  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].asked.program, c.command);
  EXPECT_EQ(launches[0].asked.command_line, QuotedPath(c.command));
  EXPECT_EQ(LastValue(forms.sim), c.command);
  EXPECT_TRUE(forms.Ended()) << "the program ends after the start";
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
  std::string application;
  std::string command_line;
  std::string directory;
  friend void PrintTo(const StartCase& c, std::ostream* os) { *os << c.label; }
};

// Programs the rows below start, as a 32-bit program sees them.
const std::string kSystem = "C:\\Windows\\system32\\";
const char* const kInstalledPrograms[] = {
    "C:\\Windows\\system32\\msiexec.exe",
    "C:\\My Tools\\MsiExec.exe",
    "C:\\Program Files\\Foo\\unins000.exe",
    "C:\\Program Files (x86)\\Foo\\u.exe",
};

class StartTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartTest, TheProgramStartsItselfInItsFolderAndTheCommandIsRemembered) {
  const StartCase& c = GetParam();
  Forms forms;
  for (const char* path : kInstalledPrograms) forms.sim.files.AddFile(path, kSomeDate);
  forms.Uninstall(ProgramOf("Foo", c.command));
  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  const platform::StartSpec& started = launches[0].asked;
  EXPECT_FALSE(launches[0].through_shell);
  EXPECT_EQ(started.program, c.application);
  EXPECT_EQ(started.command_line, c.command_line);
  EXPECT_EQ(started.directory, c.directory);
  EXPECT_EQ(started.show, platform::kSwShowNormalWindow);
  EXPECT_EQ(started.follow, platform::Follow::kNothing);
  EXPECT_EQ(LastValue(forms.sim), c.command);
  EXPECT_TRUE(forms.sim.windows.Boxes().empty());
}

const std::string kQuotedWithSwitch = "\"C:\\Program Files\\Foo\\unins000.exe\" /S";
const std::string kSystemFolder = "C:\\Windows\\system32";

INSTANTIATE_TEST_SUITE_P(
    Rules, StartTest,
    ::testing::Values(
        // A program named without a directory is the system's; the rest of the command line
        // follows the program's full path exactly.
        StartCase{"MsiExecAsRegistered", "MsiExec.exe /X{1234}", kSystem + "MsiExec.exe",
                  "\"" + kSystem + "MsiExec.exe\" /X{1234}", kSystemFolder},
        StartCase{"MsiExecQuoted", "\"msiexec.exe\" /x{1}", kSystem + "msiexec.exe",
                  "\"" + kSystem + "msiexec.exe\" /x{1}", kSystemFolder},
        StartCase{"MsiExecAfterBlanks", " \tMsiExec.exe /X{1}", kSystem + "MsiExec.exe",
                  "\"" + kSystem + "MsiExec.exe\" /X{1}", kSystemFolder},
        StartCase{"ProgramWithoutExtension", "msiexec /x{1} /l*v MSIEXEC.EXE.log",
                  kSystem + "msiexec.exe",
                  "\"" + kSystem + "msiexec.exe\" /x{1} /l*v MSIEXEC.EXE.log", kSystemFolder},
        // A program with a directory is that program.
        StartCase{"MsiExecContainedInAPath", "C:\\Windows\\System32\\msiexec.exe /x {1}",
                  "C:\\Windows\\System32\\msiexec.exe",
                  "\"C:\\Windows\\System32\\msiexec.exe\" /x {1}", "C:\\Windows\\System32"},
        StartCase{"MsiExecInAQuotedPathWithBlanks", "\"C:\\My Tools\\MsiExec.exe\" /X{1}",
                  "C:\\My Tools\\MsiExec.exe", "\"C:\\My Tools\\MsiExec.exe\" /X{1}",
                  "C:\\My Tools"},
        StartCase{"QuotedPathWithSwitch", kQuotedWithSwitch, "C:\\Program Files\\Foo\\unins000.exe",
                  kQuotedWithSwitch, "C:\\Program Files\\Foo"},
        // Variables are this program's to expand, in the environment of the entry's view.
        StartCase{"EnvironmentVariableExpanded", "%ProgramFiles%\\Foo\\u.exe",
                  "C:\\Program Files (x86)\\Foo\\u.exe", "\"C:\\Program Files (x86)\\Foo\\u.exe\"",
                  "C:\\Program Files (x86)\\Foo"}),
    [](const auto& info) { return info.param.label; });

// Without a system directory, a name without a folder is sought in the Windows folder alone;
// a full path needs neither.
TEST(Uninstall, NoSystemDirectoryFindsNoBareNameThere) {
  Forms forms;
  forms.sim.launcher.SetSystemDirectory("");
  forms.sim.files.AddFile("C:\\Windows\\system32\\MsiExec.exe", kSomeDate);
  forms.sim.files.AddFile("C:\\Foo\\u.exe", kSomeDate);
  forms.sim.windows.AnswerBox(platform::kIdNo);
  forms.Uninstall(ProgramOf("Msi", "MsiExec.exe /X{1}"));
  EXPECT_TRUE(forms.sim.launcher.Launches().empty());
  EXPECT_FALSE(LastValue(forms.sim).has_value());
  ASSERT_EQ(forms.sim.windows.Boxes().size(), 1u);
  EXPECT_TRUE(forms.sim.windows.Boxes()[0].text.starts_with(
      "Tapwise Uninstaller cannot find the uninstaller of \"Msi\":\r\rMsiExec.exe\r\r"));

  forms.Uninstall(ProgramOf("Foo", "C:\\Foo\\u.exe"));
  ASSERT_EQ(forms.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(forms.sim.launcher.Launches()[0].asked.program, "C:\\Foo\\u.exe");
}

TEST(Uninstall, ASystemDirectoryEndingInABackslashIsNotDoubled) {
  Forms forms;
  forms.sim.launcher.SetSystemDirectory("C:\\");
  forms.sim.files.AddFile("C:\\MsiExec.exe", kSomeDate);
  forms.Uninstall(ProgramOf("Foo", "MsiExec.exe /X{1}"));
  ASSERT_EQ(forms.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(forms.sim.launcher.Launches()[0].asked.program, "C:\\MsiExec.exe");
  EXPECT_EQ(forms.sim.launcher.Launches()[0].asked.directory, "C:\\");
}

// A start that fails: with elevation required, the shell starts the same program with the same
// arguments in the same folder; any other failure, but the user's own refusal, is reported.
struct FailureCase {
  std::string label;
  platform::StartError direct;
  platform::StartError shell;  // when the shell is asked
  bool through_shell;
  std::string box;  // empty: none
  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }
};

class StartFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StartFailureTest, ElevationGoesThroughTheShellAndOtherFailuresAreShown) {
  const FailureCase& c = GetParam();
  Program program(ProgramKey(kLm32, "v", "Vendor App", "\"C:\\Vendor\\un ins.exe\" /S /log=x"));
  program.sim.files.AddFile("C:\\Vendor\\un ins.exe", kSomeDate);
  program.sim.launcher.SetDirectStartResult(c.direct);
  program.sim.launcher.SetShellStartResult(c.shell);
  sim::WindowSystem& ws = program.sim.windows;
  ws.ChooseMenuItem({"All Programs", "Vendor App"}, 500);
  if (!c.box.empty()) ws.AnswerBox(platform::kIdOk, 60000);
  program.Run();

  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].elevated, c.through_shell);
  const platform::StartSpec& asked = launches[0].asked;
  EXPECT_EQ(asked.elevation, platform::Elevation::kWhenNeeded);
  EXPECT_EQ(asked.program, "C:\\Vendor\\un ins.exe");
  EXPECT_EQ(asked.parameters, "/S /log=x");
  EXPECT_EQ(asked.directory, "C:\\Vendor");
  EXPECT_EQ(asked.show, platform::kSwShowNormalWindow);
  EXPECT_EQ(asked.shell_mask, platform::kSeeMaskFlagNoUi | platform::kSeeMaskNoAsync);
  if (c.box.empty()) {
    EXPECT_TRUE(ws.Boxes().empty());
    EXPECT_EQ(ws.Now(), ws.Popups().at(0).closed_ms) << "the program ends at once";
    return;
  }
  ASSERT_EQ(ws.Boxes().size(), 1u);
  EXPECT_EQ(ws.Boxes()[0].text, c.box);
  EXPECT_EQ(ws.Boxes()[0].owner, platform::kNoWindow);
  EXPECT_EQ(ws.Boxes()[0].style, platform::kMbIconInformation);
  EXPECT_EQ(ws.Now(), ws.Boxes()[0].closed_ms) << "held up by the box alone, then the end";
}

const std::string kCannotStart =
    "Tapwise Uninstaller cannot start the uninstaller of \"Vendor App\":\r\r";

INSTANTIATE_TEST_SUITE_P(
    Results, StartFailureTest,
    ::testing::Values(FailureCase{"Started", platform::kStartOk, platform::kStartOk, false, ""},
                      FailureCase{"ElevatedByTheShell", platform::kErrorElevationRequired,
                                  platform::kStartOk, true, ""},
                      FailureCase{"ElevationDeclined", platform::kErrorElevationRequired,
                                  platform::kErrorCancelled, true, ""},
                      FailureCase{"ElevationFailed", platform::kErrorElevationRequired,
                                  platform::kErrorAccessDenied, true,
                                  kCannotStart + "System error 5."},
                      FailureCase{"AccessDenied", platform::kErrorAccessDenied, platform::kStartOk,
                                  false, kCannotStart + "System error 5."},
                      // The system's text names the file by an insert, which the box fills.
                      FailureCase{"BadExeFormat", platform::kErrorBadExeFormat, platform::kStartOk,
                                  false,
                                  kCannotStart + "Bad EXE format for C:\\Vendor\\un ins.exe."}),
    [](const auto& info) { return info.param.label; });

// A program that is not there, or may not be started, is named in a box; nothing starts, the
// command is still remembered, and the program ends once the box is closed.
struct MissingCase {
  std::string label;
  std::string command;
  std::string looked_for;
  bool offers_removal = true;  // the file is not there; else the command was refused
  friend void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.label; }
};

class MissingTest : public ::testing::TestWithParam<MissingCase> {};

// A missing file asks whether to take the entry off the list (No changes nothing); a refused
// command, whose file may well exist, only says so. Neither is remembered as "Last".
TEST_P(MissingTest, TheBoxNamesWhatWasSoughtThenTheEnd) {
  const MissingCase& c = GetParam();
  Program program(ProgramKey(kCu, "g", "Gone \"App\"", c.command));
  program.sim.files.AddFile("C:\\Apps\\remove.bat", kSomeDate);
  sim::WindowSystem& ws = program.sim.windows;
  ws.ChooseMenuItem({"All Programs", "Gone \"App\""}, 500);
  ws.AnswerBox(c.offers_removal ? platform::kIdNo : platform::kIdOk,
               60000);  // far longer than the auto-close period
  program.Run();

  EXPECT_TRUE(program.sim.launcher.Launches().empty());
  ASSERT_EQ(ws.Boxes().size(), 1u);
  const sim::BoxRecord& box = ws.Boxes()[0];
  EXPECT_EQ(box.owner, platform::kNoWindow);
  EXPECT_EQ(box.caption, "Tapwise Uninstaller");
  const std::string named =
      "Tapwise Uninstaller cannot find the uninstaller of \"Gone \"App\"\":\r\r" + c.looked_for;
  if (c.offers_removal) {
    EXPECT_EQ(box.text, named +
                            "\r\rThe program may have been removed already.\r\rRemove \"Gone "
                            "\"App\"\" from the list of programs? A copy of its entry is saved "
                            "first.");
    EXPECT_EQ(box.style, platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  } else {
    EXPECT_EQ(box.text, named);
    EXPECT_EQ(box.style, platform::kMbIconInformation);
  }
  EXPECT_EQ(ws.Now(), box.closed_ms);
  EXPECT_FALSE(LastValue(program.sim).has_value());
  EXPECT_TRUE(program.sim.registry.KeyExists(
      platform::kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\g"));
}

INSTANTIATE_TEST_SUITE_P(
    Programs, MissingTest,
    ::testing::Values(MissingCase{"QuotedPath", "\"C:\\Gone\\uninst.exe\" /S",
                                  "C:\\Gone\\uninst.exe"},
                      MissingCase{"BatchWithShellSyntax", "C:\\Apps\\remove.bat /S & del C:\\x",
                                  "C:\\Apps\\remove.bat", false},
                      MissingCase{"BlankExpansion", "%Unset%%Unset%", "%Unset%%Unset%", true}),
    [](const auto& info) { return info.param.label; });

// A Windows Installer entry without a command is removed by the system's msiexec, through the
// product's code; that command is remembered (menus_test: the next start still finds it).
TEST(Uninstall, AWindowsInstallerEntryWithoutACommandUsesItsProductCode) {
  const std::string code = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
  Program program(
      Entry(kLm64 + code, {"\"DisplayName\"=\"Msi App\"", "\"WindowsInstaller\"=dword:00000001"}));
  program.sim.files.AddFile("C:\\Windows\\Sysnative\\msiexec.exe", kSomeDate);
  program.sim.windows.ChooseMenuItem({"All Programs", "Msi App"}, 500);
  program.Run();

  const auto& launches = program.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].asked.program, "C:\\Windows\\Sysnative\\MsiExec.exe");
  EXPECT_EQ(launches[0].asked.command_line, "\"C:\\Windows\\system32\\MsiExec.exe\" /X" + code);
  EXPECT_EQ(LastValue(program.sim), "MsiExec.exe /X" + code);
}

TEST(Uninstall, AnUnwritableLastCommandStillStartsTheUninstaller) {
  Forms forms;
  forms.sim.registry.CreatePhysicalKey(platform::kHkeyCurrentUser, kSettings);
  forms.sim.registry.DenyAccess(platform::kHkeyCurrentUser, kSettings);
  forms.sim.files.AddFile("C:\\Foo\\u.exe", kSomeDate);
  forms.Uninstall(ProgramOf("Foo", "C:\\Foo\\u.exe"));
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
  EXPECT_TRUE(launches[0].through_shell);
  EXPECT_EQ(launches[0].asked.verb, "open");
  EXPECT_EQ(launches[0].asked.program,
            "https://www.quillon-software.com/tapwise-uninstaller/tools.php?ver=1.9");
  EXPECT_EQ(launches[0].asked.show, platform::kSwShowNormalWindow);
  // Nothing was started, so nothing is asked after at the next start.
  EXPECT_FALSE(LastValue(program.sim).has_value());
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
  forms.Settle();

  const auto& launches = forms.sim.launcher.Launches();
  ASSERT_EQ(launches.size(), 1u);
  const platform::StartSpec& asked = launches[0].asked;
  EXPECT_TRUE(launches[0].elevated);
  EXPECT_EQ(asked.shell_mask, 0x500u);
  EXPECT_EQ(asked.program, "C:\\Windows\\system32\\taskkill.exe");
  EXPECT_EQ(asked.parameters, "/F /IM \"" + name + "\" /T");
  EXPECT_EQ(asked.directory, "");
  EXPECT_EQ(asked.show, platform::kSwHideWindow);
  EXPECT_FALSE(forms.Ended());
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
