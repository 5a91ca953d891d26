// Quiet uninstalls: which command is quiet, how the end is told, and the run from Shift to the
// one box.

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_outcome.h"

namespace {

using platform::TrackedRun;
using sim::Launch;
using testing_support::Entry;
using testing_support::kCu;
using testing_support::kLm32;
using testing_support::kLm64;
using testing_support::Program;

constexpr platform::Date kSomeDate{2020, 1, 1};
const std::string kCode = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";

// --- The outcome -----------------------------------------------------------------------------

struct OutcomeCase {
  std::string label;
  TrackedRun run;
  bool listed;
  app::QuietCase kind;
  std::string text;
  friend void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.label; }
};

class OutcomeTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeTest, TheCaseAndItsWords) {
  const OutcomeCase& c = GetParam();
  const app::QuietResult result = app::QuietOutcome("Foo", c.run, c.listed);
  EXPECT_EQ(result.kind, c.kind);
  EXPECT_EQ(result.text, c.text);
  const std::uint32_t icon = c.kind == app::QuietCase::kRemoved       ? platform::kMbIconInformation
                             : c.kind == app::QuietCase::kStartFailed ? 0u
                                                                      : platform::kMbIconWarning;
  EXPECT_EQ(result.icon, icon);
}

const std::string kListed = ", and the program is still listed.";
const std::string kFooEnded = "The uninstaller of \"Foo\" ended with code ";
const std::string kRunning =
    "The uninstaller of \"Foo\" is still running. It may be waiting for an answer in a window of "
    "its own; Tapwise Uninstaller has left it running.";
const std::string kRestart =
    "\"Foo\" has been uninstalled.\r\rWindows must restart to finish removing it.";

INSTANTIATE_TEST_SUITE_P(
    Cases, OutcomeTest,
    ::testing::Values(
        OutcomeCase{"Removed",
                    {0, true, 0},
                    false,
                    app::QuietCase::kRemoved,
                    "\"Foo\" has been uninstalled."},
        // The entry decides: a failing code beside a gone entry is still a removal.
        OutcomeCase{"RemovedDespiteCode",
                    {0, true, 3},
                    false,
                    app::QuietCase::kRemoved,
                    "\"Foo\" has been uninstalled."},
        OutcomeCase{
            "RemovedRestartRequired", {0, true, 3010}, false, app::QuietCase::kRemoved, kRestart},
        OutcomeCase{
            "RemovedRestartStarted", {0, true, 1641}, false, app::QuietCase::kRemoved, kRestart},
        // A window left open after the work was done: the entry is gone, so it was removed.
        OutcomeCase{"RemovedWhileStillRunning",
                    {0, false, 0},
                    false,
                    app::QuietCase::kRemoved,
                    "\"Foo\" has been uninstalled."},
        OutcomeCase{"CodeWithoutMeaning",
                    {0, true, 3},
                    true,
                    app::QuietCase::kStillListed,
                    kFooEnded + "3" + kListed},
        OutcomeCase{"Cancelled",
                    {0, true, 1602},
                    true,
                    app::QuietCase::kStillListed,
                    kFooEnded + "1602 (the uninstall was cancelled)" + kListed},
        OutcomeCase{"NotInstalled",
                    {0, true, 1605},
                    true,
                    app::QuietCase::kStillListed,
                    kFooEnded + "1605 (the program is not installed as its entry says)" + kListed},
        OutcomeCase{"AnotherInstallation",
                    {0, true, 1618},
                    true,
                    app::QuietCase::kStillListed,
                    kFooEnded +
                        "1618 (another installation is running; try again once it has "
                        "finished)" +
                        kListed},
        // A restart code with the entry still there is a failure like any other.
        OutcomeCase{"RestartCodeButListed",
                    {0, true, 3010},
                    true,
                    app::QuietCase::kStillListed,
                    kFooEnded + "3010" + kListed},
        OutcomeCase{"SuccessButListed",
                    {0, true, 0},
                    true,
                    app::QuietCase::kListedAfterSuccess,
                    "The uninstaller of \"Foo\" reported success, but the program is still "
                    "listed."},
        OutcomeCase{"StillRunning", {0, false, 0}, true, app::QuietCase::kStillRunning, kRunning},
        OutcomeCase{"Declined",
                    {platform::kErrorCancelled, false, 0},
                    true,
                    app::QuietCase::kDeclined,
                    "Administrator rights were declined: nothing of \"Foo\" was uninstalled."},
        OutcomeCase{"OtherStartError",
                    {platform::kErrorFileNotFound, false, 0},
                    true,
                    app::QuietCase::kStartFailed,
                    ""}),
    [](const auto& info) { return info.param.label; });

// --- The quiet command -----------------------------------------------------------------------

struct CommandCase {
  std::string label;
  app::EntryView view;
  std::string quiet;
  bool windows_installer;
  bool elevated;
  std::string expected;  // empty: none
  friend void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.label; }
};

class QuietCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(QuietCommandTest, OnlyWhatTheInstallerRegistered) {
  const CommandCase& c = GetParam();
  app::ProgramEntry program;
  program.name = "Foo";
  program.command = "\"C:\\Foo\\uninst.exe\"";
  program.view = c.view;
  program.key_name = c.windows_installer ? kCode : "Foo";
  if (c.windows_installer) program.product_code = kCode;
  program.quiet_command = c.quiet;
  program.windows_installer = c.windows_installer;
  EXPECT_EQ(app::QuietCommand(program, c.elevated), c.expected);
}

using app::EntryView;
INSTANTIATE_TEST_SUITE_P(
    Entries, QuietCommandTest,
    ::testing::Values(
        CommandCase{"Registered", EntryView::kMachineDefault, "\"C:\\Foo\\uninst.exe\" /S", false,
                    false, "\"C:\\Foo\\uninst.exe\" /S"},
        // No "/S" is made up for an installer that registered nothing quiet.
        CommandCase{"NoneRegistered", EntryView::kMachineDefault, "", false, false, ""},
        CommandCase{"BlankIsNone", EntryView::kUser, " \t", false, false, ""},
        CommandCase{"InstallerPerMachineNotElevated", EntryView::kMachine64, "", true, false,
                    "MsiExec.exe /X" + kCode + " /passive"},
        CommandCase{"InstallerPerMachineElevated", EntryView::kMachineDefault, "", true, true,
                    "MsiExec.exe /X" + kCode + " /qn"},
        CommandCase{"InstallerPerUser", EntryView::kUser, "", true, false,
                    "MsiExec.exe /X" + kCode + " /qn"},
        CommandCase{"InstallerWithItsOwnQuietCommand", EntryView::kMachineDefault,
                    "MsiExec.exe /X" + kCode + " /quiet", true, false,
                    "MsiExec.exe /X" + kCode + " /quiet"}),
    [](const auto& info) { return info.param.label; });

// The scan reads neither value for an entry with a command: they are read from the entry's key
// in its own view when a quiet uninstall is chosen. A key gone since keeps what the scan knew.
TEST(QuietFacts, ReadFromTheEntrysKeyWhenChosen) {
  sim::Registry registry;
  registry.LoadRegText(std::string(testing_support::kRegHeader) +
                       Entry(kLm64 + kCode, {"\"QuietUninstallString\"=\"q.exe /S\"",
                                             "\"WindowsInstaller\"=dword:00000001"}));
  const struct {
    const char* label;
    app::EntryView view;
    std::string key_name;
    std::string quiet;
    bool windows_installer;
  } rows[] = {
      {"read again", EntryView::kMachine64, kCode, "q.exe /S", true},
      {"another view's key is another entry", EntryView::kMachineDefault, kCode, "scanned.exe",
       false},
      {"key gone", EntryView::kMachine64, "Gone", "scanned.exe", false},
  };
  for (const auto& row : rows) {
    app::ProgramEntry scanned;
    scanned.view = row.view;
    scanned.key_name = row.key_name;
    scanned.quiet_command = "scanned.exe";
    const app::ProgramEntry chosen = app::WithQuietFacts(registry, scanned);
    EXPECT_EQ(chosen.quiet_command, row.quiet) << row.label;
    EXPECT_EQ(chosen.windows_installer, row.windows_installer) << row.label;
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// --- From Shift to the box -------------------------------------------------------------------

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

const std::string kFooKey = kLm32 + "Foo";

// Foo registers a quiet command; Bar registers none.
std::string Registry() {
  return Entry(kFooKey, {"\"DisplayName\"=\"Foo\"",
                         "\"UninstallString\"=" + Quoted("\"C:\\Foo\\uninst.exe\""),
                         "\"QuietUninstallString\"=" + Quoted("\"C:\\Foo\\uninst.exe\" /S")}) +
         Entry(kLm32 + "Bar",
               {"\"DisplayName\"=\"Bar\"", "\"UninstallString\"=" + Quoted("C:\\Bar\\remove.exe")});
}

struct QuietRun {
  Program program{Registry()};
  sim::WindowSystem& ws = program.sim.windows;

  QuietRun() {
    program.sim.files.AddFile("C:\\Foo\\uninst.exe", kSomeDate);
    program.sim.files.AddFile("C:\\Bar\\remove.exe", kSomeDate);
    ws.HoldShift(true);
  }
  // The entry goes at that time.
  void RemoveEntryAt(std::int64_t time_ms) {
    ws.At(time_ms, [this] {
      program.sim.registry.DeletePhysicalKey(platform::kHkeyLocalMachine,
                                             kFooKey.substr(kFooKey.find('\\') + 1));
    });
  }
  const std::vector<Launch>& Launches() const { return program.sim.launcher.Launches(); }
};

TEST(QuietUninstall, YesRunsTheQuietCommandHiddenUntilTheEntryHasGoneThenOneBoxAndTheEnd) {
  QuietRun run;
  run.ws.ChooseMenuItem({"All Programs", "Foo"}, 500);
  run.ws.AnswerBox(platform::kIdYes, 1000);
  run.program.sim.launcher.SetTrackedRun({platform::kStartOk, 30000, 0});
  // The job empties at 31.5 s; the entry goes 3 s later, well within the watch.
  run.RemoveEntryAt(34500);
  run.ws.AnswerBox(platform::kIdOk, 2000);
  run.program.Run();

  ASSERT_EQ(run.Launches().size(), 1u);
  const Launch& launch = run.Launches()[0];
  EXPECT_EQ(launch.kind, Launch::Kind::kTracked);
  EXPECT_EQ(launch.start.application, "C:\\Foo\\uninst.exe");
  EXPECT_EQ(launch.start.command_line, "\"C:\\Foo\\uninst.exe\" /S");
  EXPECT_EQ(launch.start.show, platform::kSwShowNormalWindow);
  EXPECT_EQ(launch.request.parameters, "/S");
  const auto& boxes = run.ws.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Remove \"Foo\" without its own questions?");
  EXPECT_EQ(boxes[0].caption, "Tapwise Uninstaller");
  EXPECT_EQ(boxes[0].style,
            platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  EXPECT_EQ(boxes[1].text, "\"Foo\" has been uninstalled.");
  EXPECT_EQ(boxes[1].caption, "Tapwise Uninstaller");
  EXPECT_EQ(boxes[1].time_ms, 34500) << "watched every 250 ms until the entry went";
  EXPECT_TRUE(run.ws.Popups().size() == 1) << "no menu again";
  EXPECT_EQ(run.ws.Now(), boxes[1].closed_ms) << "the program ends with the box";
}

struct FlowCase {
  std::string label;
  sim::LaunchRecorder::ScriptedRun scripted;
  std::int64_t entry_goes_ms;  // -1: never
  std::string box;
  std::int64_t box_ms;
  friend void PrintTo(const FlowCase& c, std::ostream* os) { *os << c.label; }
};

class QuietFlowTest : public ::testing::TestWithParam<FlowCase> {};

// The run starts at 1.5 s, once the question is answered.
TEST_P(QuietFlowTest, TheBoxComesWhenTheCaseIsKnown) {
  const FlowCase& c = GetParam();
  QuietRun run;
  run.ws.SetTimeLimit(2 * 60 * 60 * 1000);
  run.ws.ChooseMenuItem({"All Programs", "Foo"}, 500);
  run.ws.AnswerBox(platform::kIdYes, 1000);
  run.program.sim.launcher.SetTrackedRun(c.scripted);
  if (c.entry_goes_ms >= 0) run.RemoveEntryAt(c.entry_goes_ms);
  run.ws.AnswerBox(platform::kIdOk, 2000);
  run.program.Run();

  const auto& boxes = run.ws.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, c.box);
  EXPECT_EQ(boxes[1].time_ms, c.box_ms);
}

constexpr std::int64_t kBound = app::kQuietBoundMs;
INSTANTIATE_TEST_SUITE_P(
    Runs, QuietFlowTest,
    ::testing::Values(
        FlowCase{"GoneAtTheEnd", {0, 4000, 0}, 5000, "\"Foo\" has been uninstalled.", 5500},
        // Watched for 10 s after the end, at 250 ms steps.
        FlowCase{"GoneLastInTheWatch",
                 {0, 1000, 3010},
                 12400,
                 "\"Foo\" has been uninstalled.\r\rWindows must restart to finish removing it.",
                 12500},
        FlowCase{"StillListed",
                 {0, 1000, 3},
                 -1,
                 "The uninstaller of \"Foo\" ended with code 3, and the program is still listed.",
                 12500},
        // After the bound nothing more is waited for.
        FlowCase{"StillRunning",
                 {0, kBound + 1, 0},
                 -1,
                 "The uninstaller of \"Foo\" is still running. It may be waiting for an answer "
                 "in a window of its own; Tapwise Uninstaller has left it running.",
                 1500 + kBound},
        FlowCase{"Declined",
                 {platform::kErrorCancelled, 0, 0},
                 -1,
                 "Administrator rights were declined: nothing of \"Foo\" was uninstalled.",
                 1500},
        FlowCase{"NotStarted",
                 {platform::kErrorAccessDenied, 0, 0},
                 -1,
                 "Tapwise Uninstaller cannot start the uninstaller of \"Foo\":\r\rSystem error "
                 "5.",
                 1500}),
    [](const auto& info) { return info.param.label; });

TEST(QuietUninstall, NoStartsNothingAndEndsTheProgram) {
  QuietRun run;
  run.ws.ChooseMenuItem({"All Programs", "Foo"}, 500);
  run.ws.AnswerBox(platform::kIdNo, 1000);
  run.program.Run();
  EXPECT_TRUE(run.Launches().empty());
  ASSERT_EQ(run.ws.Boxes().size(), 1u);
  EXPECT_EQ(run.ws.Now(), run.ws.Boxes()[0].closed_ms);
}

TEST(QuietUninstall, WithoutAQuietCommandShiftChangesNothing) {
  QuietRun run;
  run.ws.ChooseMenuItem({"All Programs", "Bar"}, 500);
  run.program.Run();
  ASSERT_EQ(run.Launches().size(), 1u);
  EXPECT_EQ(run.Launches()[0].kind, Launch::Kind::kStartProcess);
  EXPECT_TRUE(run.ws.Boxes().empty());
}

TEST(QuietUninstall, WithoutShiftTheUsualUninstallerStarts) {
  QuietRun run;
  run.ws.HoldShift(false);
  run.ws.ChooseMenuItem({"Recent Programs", "Foo"}, 500);
  run.program.Run();
  ASSERT_EQ(run.Launches().size(), 1u);
  EXPECT_EQ(run.Launches()[0].start.command_line, "\"C:\\Foo\\uninst.exe\"");
}

// A Windows Installer product in the 64-bit view: msiexec by its code, and its key read again
// in that view.
TEST(QuietUninstall, AWindowsInstallerProductIsWatchedInItsOwnView) {
  const std::string key = kLm64 + kCode;
  Program program(Entry(key, {"\"DisplayName\"=\"Msi App\"",
                              "\"UninstallString\"=\"MsiExec.exe /I" + kCode + "\"",
                              "\"WindowsInstaller\"=dword:00000001"}) +
                  Entry(kCu + kCode, {"\"DisplayName\"=\"Other\""}));
  program.sim.files.AddFile("C:\\Windows\\Sysnative\\msiexec.exe", kSomeDate);
  program.sim.launcher.SetElevated(true);
  program.sim.launcher.SetTrackedRun({platform::kStartOk, 2000, 0});
  sim::WindowSystem& ws = program.sim.windows;
  ws.HoldShift(true);
  ws.ChooseMenuItem({"All Programs", "Msi App"}, 500);
  ws.AnswerBox(platform::kIdYes, 1000);
  ws.At(3000, [&] {
    program.sim.registry.DeletePhysicalKey(platform::kHkeyLocalMachine,
                                           key.substr(key.find('\\') + 1));
  });
  ws.AnswerBox(platform::kIdOk, 1000);
  program.Run();

  ASSERT_EQ(program.sim.launcher.Launches().size(), 1u);
  EXPECT_EQ(program.sim.launcher.Launches()[0].start.command_line,
            "\"C:\\Windows\\system32\\MsiExec.exe\" /X" + kCode + " /qn");
  ASSERT_EQ(ws.Boxes().size(), 2u);
  EXPECT_EQ(ws.Boxes()[1].text, "\"Msi App\" has been uninstalled.");
}

}  // namespace
