// Quiet uninstalls: which command is quiet, how the end is told, and the run from Shift to the
// one box.

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/leftovers/evidence_record.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_outcome.h"

namespace {

using platform::RunEnd;
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
  platform::StartError start;
  platform::RunOutcome run;
  bool listed;
  app::QuietCase kind;
  std::string text;
  friend void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.label; }
};

class OutcomeTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeTest, TheCaseAndItsWords) {
  const OutcomeCase& c = GetParam();
  const app::QuietResult result = app::QuietOutcome("Foo", c.start, c.run, c.listed);
  EXPECT_EQ(result.kind, c.kind);
  EXPECT_EQ(result.text, c.text);
  const std::uint32_t icon = c.kind == app::QuietCase::kRemoved       ? platform::kMbIconInformation
                             : c.kind == app::QuietCase::kStartFailed ? 0u
                                                                      : platform::kMbIconWarning;
  EXPECT_EQ(result.icon, icon);
}

const std::string kRemovedText = "\"Foo\" has been uninstalled.";
const std::string kRestart = kRemovedText + "\r\rWindows must restart to finish removing it.";
std::string Ended(const std::string& code) {
  return "The uninstaller of \"Foo\" ended with code " + code +
         ", and the program is still listed.";
}
const std::string kCancelled = Ended("1602 (the uninstall was cancelled)");
const std::string kNotInstalled = Ended("1605 (the program is not installed as its entry says)");
const std::string kAnotherInstallation =
    Ended("1618 (another installation is running; try again once it has finished)");
const std::string kSuccessButListed =
    "The uninstaller of \"Foo\" reported success, but the program is still listed.";
const std::string kRunning =
    "The uninstaller of \"Foo\" is still running. It may be waiting for an answer in a window of "
    "its own; Tapwise Uninstaller has left it running.";
const std::string kNotFollowedText =
    "The uninstaller of \"Foo\" was started, but how it ended cannot be told, and the program is "
    "still listed.";
const std::string kDeclinedText =
    "Administrator rights were declined: nothing of \"Foo\" was uninstalled.";
constexpr RunEnd kEnd = RunEnd::kEnded;
constexpr RunEnd kLeft = RunEnd::kRunning;
constexpr RunEnd kUnknown = RunEnd::kNotKnown;
using enum app::QuietCase;

const OutcomeCase kOutcomes[] = {
    {"Removed", 0, {kEnd, 0}, false, kRemoved, kRemovedText},
    // The entry decides: a failing code beside a gone entry is still a removal.
    {"RemovedDespiteCode", 0, {kEnd, 3}, false, kRemoved, kRemovedText},
    {"RemovedRestartRequired", 0, {kEnd, 3010}, false, kRemoved, kRestart},
    {"RemovedRestartStarted", 0, {kEnd, 1641}, false, kRemoved, kRestart},
    // A window left open after the work was done: the entry is gone, so it was removed.
    {"RemovedWhileStillRunning", 0, {kLeft, 0}, false, kRemoved, kRemovedText},
    // No code was seen, so no restart is asked for.
    {"RemovedNotFollowed", 0, {kUnknown, 3010}, false, kRemoved, kRemovedText},
    {"CodeWithoutMeaning", 0, {kEnd, 3}, true, kStillListed, Ended("3")},
    {"Cancelled", 0, {kEnd, 1602}, true, kStillListed, kCancelled},
    {"NotInstalled", 0, {kEnd, 1605}, true, kStillListed, kNotInstalled},
    {"AnotherInstallation", 0, {kEnd, 1618}, true, kStillListed, kAnotherInstallation},
    // A restart code with the entry still there is a failure like any other.
    {"RestartCodeButListed", 0, {kEnd, 3010}, true, kStillListed, Ended("3010")},
    {"SuccessButListed", 0, {kEnd, 0}, true, kListedAfterSuccess, kSuccessButListed},
    {"StillRunning", 0, {kLeft, 0}, true, kStillRunning, kRunning},
    // Nothing could be followed: neither success nor failure is claimed.
    {"NotFollowed", 0, {kUnknown, 0}, true, kNotFollowed, kNotFollowedText},
    {"Declined", platform::kErrorCancelled, {}, true, kDeclined, kDeclinedText},
    {"OtherStartError", platform::kErrorFileNotFound, {}, true, kStartFailed, ""},
};
INSTANTIATE_TEST_SUITE_P(Cases, OutcomeTest, ::testing::ValuesIn(kOutcomes),
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

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

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
  // It leaves its start at logon behind; the review is not wanted now.
  run.program.sim.registry.SetText(platform::kHkeyCurrentUser, kRunKey, "Foo",
                                   "\"C:\\Foo\\foo.exe\" /tray");
  run.ws.AnswerBox(platform::kIdNo, 2000);
  run.program.Run();

  ASSERT_EQ(run.Launches().size(), 1u);
  const platform::StartSpec& asked = run.Launches()[0].asked;
  EXPECT_FALSE(run.Launches()[0].through_shell);
  EXPECT_EQ(asked.program, "C:\\Foo\\uninst.exe");
  EXPECT_EQ(asked.command_line, "\"C:\\Foo\\uninst.exe\" /S");
  EXPECT_EQ(asked.parameters, "/S");
  EXPECT_EQ(asked.show, platform::kSwShowNormalWindow);
  // Followed with every program it starts; the shell is asked for rights only when needed.
  EXPECT_EQ(asked.follow, platform::Follow::kJob);
  EXPECT_EQ(asked.elevation, platform::Elevation::kWhenNeeded);
  const auto& boxes = run.ws.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Remove \"Foo\" without its own questions?");
  EXPECT_EQ(boxes[0].caption, "Tapwise Uninstaller");
  EXPECT_EQ(boxes[0].style,
            platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  EXPECT_EQ(boxes[1].text,
            "\"Foo\" has been uninstalled.\r\n\r\nFoo left 1 item behind. Do you want to "
            "review them now?");
  EXPECT_EQ(boxes[1].style, platform::kMbYesNo | platform::kMbIconInformation);
  EXPECT_EQ(boxes[1].caption, "Tapwise Uninstaller");
  EXPECT_EQ(boxes[1].time_ms, 34500) << "watched every 250 ms until the entry went";
  EXPECT_TRUE(run.ws.Popups().size() == 1) << "no menu again";
  EXPECT_EQ(run.ws.Now(), boxes[1].closed_ms) << "the program ends with the box";

  // What tells afterwards what the uninstall left was kept before it started, and is kept
  // while the review is not wanted.
  const std::string kept =
      std::string(sim::kLocalAppData) +
      "\\Quillon\\Tapwise Uninstaller\\Uninstall records\\2026-12-07 21-30-05\\";
  const auto& files = run.program.sim.file_store.Files();
  ASSERT_EQ(files.count(kept + "record.txt"), 1u);
  EXPECT_EQ(files.count(kept + "entry.reg"), 1u);
  const std::vector<std::uint8_t>& text = files.at(kept + "record.txt");
  const auto record = app::ReadRecordText(std::string(text.begin(), text.end()));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->entry_id, "HKLM32/Foo");
  EXPECT_EQ(record->uninstaller_folder, "C:\\Foo");
}

struct FlowCase {
  std::string label;
  std::pair<platform::StartError, platform::StartError> starts;  // directly, through the shell
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
  run.program.sim.launcher.SetDirectStartResult(c.starts.first);
  run.program.sim.launcher.SetShellStartResult(c.starts.second);
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
using Starts = std::pair<platform::StartError, platform::StartError>;
const Starts kStarts{0, 0};
const Starts kNeedsRights{platform::kErrorElevationRequired, 0};
const Starts kRightsDeclined{platform::kErrorElevationRequired, platform::kErrorCancelled};
const Starts kRefused{platform::kErrorAccessDenied, 0};
const std::string kNotStarted =
    "Tapwise Uninstaller cannot start the uninstaller of \"Foo\":\r\rSystem error 5.";
const FlowCase kFlows[] = {
    {"GoneAtTheEnd", kStarts, {0, 4000, 0}, 5000, kRemovedText, 5500},
    // Watched for 10 s after the end, at 250 ms steps.
    {"GoneLastInTheWatch", kStarts, {0, 1000, 3010}, 12400, kRestart, 12500},
    {"StillListed", kStarts, {0, 1000, 3}, -1, Ended("3"), 12500},
    // After the bound nothing more is waited for.
    {"StillRunning", kStarts, {0, kBound + 1, 0}, -1, kRunning, 1500 + kBound},
    // What could not be followed is watched as a run that ended is, from its start.
    {"NotFollowed", kStarts, {0, 1000, 0, false}, -1, kNotFollowedText, 11500},
    {"GoneNotFollowed", kStarts, {0, 1000, 3010, false}, 4000, kRemovedText, 4000},
    {"RightsGranted", kNeedsRights, {0, 4000, 0}, 5000, kRemovedText, 5500},
    {"Declined", kRightsDeclined, {}, -1, kDeclinedText, 1500},
    {"NotStarted", kRefused, {}, -1, kNotStarted, 1500},
};
INSTANTIATE_TEST_SUITE_P(Runs, QuietFlowTest, ::testing::ValuesIn(kFlows),
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
  EXPECT_EQ(run.Launches()[0].asked.follow, platform::Follow::kNothing);
  EXPECT_EQ(run.Launches()[0].asked.command_line, "\"C:\\Bar\\remove.exe\"");
  EXPECT_TRUE(run.ws.Boxes().empty());
}

TEST(QuietUninstall, WithoutShiftTheUsualUninstallerStarts) {
  QuietRun run;
  run.ws.HoldShift(false);
  run.ws.ChooseMenuItem({"Recent Programs", "Foo"}, 500);
  run.program.Run();
  ASSERT_EQ(run.Launches().size(), 1u);
  EXPECT_EQ(run.Launches()[0].asked.command_line, "\"C:\\Foo\\uninst.exe\"");
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
  EXPECT_EQ(program.sim.launcher.Launches()[0].asked.command_line,
            "\"C:\\Windows\\system32\\MsiExec.exe\" /X" + kCode + " /qn");
  ASSERT_EQ(ws.Boxes().size(), 2u);
  EXPECT_EQ(ws.Boxes()[1].text, "\"Msi App\" has been uninstalled.");
}

}  // namespace
