// The launch plan: which program an uninstall command starts, with which command line, in which
// folder; decided without a shell, over the substitute system.

#include "app/launch/launch_plan.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

namespace {

using app::EntryView;
using app::LaunchKind;

constexpr platform::Date kSomeDate{2020, 1, 1};

// The files of the substitute system. A 32-bit program sees the 32-bit system programs in
// system32 and the 64-bit ones through Sysnative.
const char* const kFiles[] = {
    "C:\\Windows\\system32\\rundll32.exe",
    "C:\\Windows\\system32\\msiexec.exe",
    "C:\\Windows\\system32\\cmd.exe",
    "C:\\Windows\\Sysnative\\rundll32.exe",
    "C:\\Windows\\Sysnative\\msiexec.exe",
    "C:\\Windows\\Sysnative\\cmd.exe",
    "C:\\Windows\\hh.exe",
    "C:\\Program Files\\Vendor\\uninst.exe",
    "C:\\Program Files (x86)\\Vendor\\uninst.exe",
    "C:\\Program Files\\Common Files\\Vendor\\remove.exe",
    "C:\\Program Files\\My App\\unins000.exe",
    "C:\\Program.exe",  // what an unquoted path with blanks may start first
    "C:\\Apps\\Old Setup\\setup.exe",
    "C:\\Trap\\Old.exe",
    "C:\\Trap\\Old Setup\\setup.exe",
    "C:\\Apps\\x.exe.old\\u.exe",
    "C:\\Apps\\my.exe",  // what a command cut at a folder's ".exe" would start
    "C:\\Apps\\my.exeditor\\uninstall.exe",
    "C:\\Windows\\msiexec.exe",  // found second, after the system folder's
    "C:\\Tools\\AT&T\\uninst.exe",
    "C:\\Tools\\A^B 100%\\uninst.exe",
    "C:\\Tools\\notepad2.exe",  // on PATH only
    "Vendor\\uninst.exe",       // in the current folder only
    "uninst.exe",
    "C:\\Windows\\system32x\\tool.exe",
    "C:\\Apps\\remove.bat",
    "C:\\Apps\\remove.cmd",
    "C:\\Apps\\100%\\remove.bat",
    "C:\\App\\uninst.exe",
    "C:\\App Dir\\uninst.exe",
    "C:uninst.exe",  // what a drive-relative path would name if taken literally
    // What Windows finds under a batch file's name with dots or blanks after it, or with its
    // data stream named.
    "C:\\Apps\\u.bat.",
    "C:\\Apps\\u.BAT ",
    "C:\\Apps\\u.cmd..",
    "C:\\Apps\\u.bat::$DATA",
};

struct PlanCase {
  std::string label;
  std::string command;
  EntryView view = EntryView::kMachineDefault;
  LaunchKind kind = LaunchKind::kStart;
  std::string program;
  std::string command_line;
  std::string directory;
  std::string looked_for;
  friend void PrintTo(const PlanCase& c, std::ostream* os) { *os << c.label; }
};

constexpr std::uint32_t kBadNetPath = 53;  // ERROR_BAD_NETPATH

app::LaunchPlan Plan(const std::string& command, EntryView view, bool wow64,
                     const std::string& product_code = {}) {
  sim::SimPlatform sim;
  for (const char* path : kFiles) sim.files.AddFile(path, kSomeDate);
  sim.launcher.SetEnvironmentVariable("Empty", "");
  sim.files.FailUnder("\\\\nohost\\share", kBadNetPath);
  app::ProgramEntry entry;
  entry.name = "Entry";
  entry.command = command;
  entry.view = view;
  entry.product_code = product_code;
  entry.windows_installer = !product_code.empty();
  return app::PlanUninstall(entry, app::PathSystem{sim.launcher, sim.files, wow64});
}

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, StartsTheRegisteredProgramAndNothingElse) {
  const PlanCase& c = GetParam();
  const app::LaunchPlan plan = Plan(c.command, c.view, true);
  EXPECT_EQ(plan.kind, c.kind);
  EXPECT_EQ(plan.program, c.program);
  EXPECT_EQ(plan.command_line, c.command_line);
  EXPECT_EQ(plan.directory, c.directory);
  EXPECT_EQ(plan.looked_for, c.looked_for);
  EXPECT_EQ(plan.show, platform::kSwShowNormalWindow);
}

const std::string kSys = "C:\\Windows\\system32";
const std::string kNative = "C:\\Windows\\Sysnative";
const std::string kMyApp = "C:\\Program Files\\My App\\unins000.exe";

PlanCase Starts(std::string label, std::string command, std::string program,
                std::string command_line, std::string directory,
                EntryView view = EntryView::kMachineDefault) {
  PlanCase c;
  c.label = std::move(label);
  c.command = std::move(command);
  c.view = view;
  c.program = std::move(program);
  c.command_line = std::move(command_line);
  c.directory = std::move(directory);
  return c;
}

PlanCase Missing(std::string label, std::string command, std::string looked_for,
                 EntryView view = EntryView::kMachineDefault) {
  PlanCase c;
  c.label = std::move(label);
  c.command = std::move(command);
  c.view = view;
  c.kind = LaunchKind::kMissing;
  c.looked_for = std::move(looked_for);
  return c;
}

// A program whose file could not be looked for: it is said to be so, never missing.
PlanCase Unreachable(std::string label, std::string command, std::string looked_for) {
  PlanCase c = Missing(std::move(label), std::move(command), looked_for);
  c.kind = LaunchKind::kUnreachable;
  c.program = std::move(looked_for);
  return c;
}

// A command that may not be started as it stands, whatever is on the disk.
PlanCase Refused(std::string label, std::string command, std::string looked_for) {
  PlanCase c = Missing(std::move(label), std::move(command), std::move(looked_for));
  c.kind = LaunchKind::kRefused;
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PlanTest,
    ::testing::Values(
        Starts("Quoted", "\"" + kMyApp + "\" /S", kMyApp, "\"" + kMyApp + "\" /S",
               "C:\\Program Files\\My App"),
        Starts("QuotedAfterBlanks", " \t\"" + kMyApp + "\"", kMyApp, "\"" + kMyApp + "\"",
               "C:\\Program Files\\My App"),
        Starts("QuotedSwitchRightAfterTheQuote", "\"" + kMyApp + "\"/S", kMyApp,
               "\"" + kMyApp + "\"/S", "C:\\Program Files\\My App"),
        // Up to the first ".exe" that ends a word, before any shorter text that ends at a blank.
        Starts("UnquotedUpToExe", kMyApp + " /S", kMyApp, "\"" + kMyApp + "\" /S",
               "C:\\Program Files\\My App"),
        Starts("UnquotedExeInsideAFolderName", "C:\\Apps\\x.exe.old\\u.exe /S",
               "C:\\Apps\\x.exe.old\\u.exe", "\"C:\\Apps\\x.exe.old\\u.exe\" /S",
               "C:\\Apps\\x.exe.old"),
        Starts("UnquotedExeStartingAFolderName", "C:\\Apps\\my.exeditor\\uninstall.exe /S",
               "C:\\Apps\\my.exeditor\\uninstall.exe",
               "\"C:\\Apps\\my.exeditor\\uninstall.exe\" /S", "C:\\Apps\\my.exeditor"),
        // Without ".exe", each text that ends at a blank, shortest first, as an .exe.
        Starts("UnquotedWithoutExtension", "C:\\Apps\\Old Setup\\setup /remove",
               "C:\\Apps\\Old Setup\\setup.exe", "\"C:\\Apps\\Old Setup\\setup.exe\" /remove",
               "C:\\Apps\\Old Setup"),
        Starts("UnquotedShortestPrefixFirst", "C:\\Trap\\Old Setup\\setup /remove",
               "C:\\Trap\\Old.exe", "\"C:\\Trap\\Old.exe\" Setup\\setup /remove", "C:\\Trap"),
        Starts("QuotedWithoutExe", "\"C:\\App\\uninst\" /S", "C:\\App\\uninst.exe",
               "\"C:\\App\\uninst.exe\" /S", "C:\\App"),
        Starts("UnquotedBlanksWithoutArguments", "C:\\App Dir\\uninst", "C:\\App Dir\\uninst.exe",
               "\"C:\\App Dir\\uninst.exe\"", "C:\\App Dir"),
        Missing("QuotedMissing", "\"C:\\Gone\\uninst.exe\" /S", "C:\\Gone\\uninst.exe"),
        Missing("UnquotedMissingNamesTheExe", "C:\\Gone Away\\uninst.exe /S",
                "C:\\Gone Away\\uninst.exe"),
        Missing("UnquotedMissingWithoutExe", "C:\\Gone Away\\uninst /S",
                "C:\\Gone Away\\uninst /S"),
        // Only absolute paths count: the current folder is anybody's.
        Missing("RelativePath", "Vendor\\uninst.exe /S", "Vendor\\uninst.exe"),
        Missing("DriveRelativePath", "D:msiexec.exe /x{1}", "D:msiexec.exe"),
        Missing("DriveRelativePathThatExists", "C:uninst.exe /S", "C:uninst.exe"),
        Missing("RootedWithoutDrive", "\\Tools\\AT&T\\uninst.exe", "\\Tools\\AT&T\\uninst.exe"),
        Refused("EmptyQuotes", "\"\" /S", ""),
        Unreachable("OnAShareThatDoesNotAnswer", "\\\\nohost\\share\\uninst.exe",
                    "\\\\nohost\\share\\uninst.exe"),
        // Of the candidates, the first that does not surely miss decides.
        Unreachable("FirstCandidateUnreachable", "\\\\nohost\\share\\My App\\u /S",
                    "\\\\nohost\\share\\My.exe"),
        Missing("NotOnAnAnsweringDrive", "C:\\Gone\\uninst.exe", "C:\\Gone\\uninst.exe")),
    [](const auto& info) { return info.param.label; });

INSTANTIATE_TEST_SUITE_P(
    ShellSyntax, PlanTest,
    ::testing::Values(
        // No shell reads the command: its characters are the path's and the arguments' own.
        Starts("AmpersandInAnUnquotedPath", "C:\\Tools\\AT&T\\uninst.exe /S",
               "C:\\Tools\\AT&T\\uninst.exe", "\"C:\\Tools\\AT&T\\uninst.exe\" /S",
               "C:\\Tools\\AT&T"),
        Starts("CaretAndPercentInAPath", "C:\\Tools\\A^B 100%\\uninst.exe /S",
               "C:\\Tools\\A^B 100%\\uninst.exe", "\"C:\\Tools\\A^B 100%\\uninst.exe\" /S",
               "C:\\Tools\\A^B 100%"),
        Starts("SyntaxInArguments", "\"C:\\Tools\\AT&T\\uninst.exe\" a&b|c^d<e>f %NotSet% 5%",
               "C:\\Tools\\AT&T\\uninst.exe",
               "\"C:\\Tools\\AT&T\\uninst.exe\" a&b|c^d<e>f %NotSet% 5%", "C:\\Tools\\AT&T"),
        Missing("PipeNamesNoFile", "C:\\Tools\\A|B\\uninst.exe", "C:\\Tools\\A|B\\uninst.exe")),
    [](const auto& info) { return info.param.label; });

INSTANTIATE_TEST_SUITE_P(
    BareNames, PlanTest,
    ::testing::Values(Starts("RunDll32", "rundll32.exe user32.dll,MessageBeep",
                             kSys + "\\rundll32.exe",
                             "\"" + kSys + "\\rundll32.exe\" user32.dll,MessageBeep", kSys),
                      Starts("MsiExecWithoutExe", "MsiExec /X{1}", kSys + "\\MsiExec.exe",
                             "\"" + kSys + "\\MsiExec.exe\" /X{1}", kSys),
                      Starts("QuotedBareName", "\"msiexec.exe\" /x{1}", kSys + "\\msiexec.exe",
                             "\"" + kSys + "\\msiexec.exe\" /x{1}", kSys),
                      Starts("WindowsFolderSecond", "hh.exe C:\\x.chm", "C:\\Windows\\hh.exe",
                             "\"C:\\Windows\\hh.exe\" C:\\x.chm", "C:\\Windows"),
                      Missing("OnlyOnThePath", "notepad2.exe /uninstall", kSys + "\\notepad2.exe"),
                      Missing("OnlyInTheCurrentFolder", "uninst.exe", kSys + "\\uninst.exe")),
    [](const auto& info) { return info.param.label; });

INSTANTIATE_TEST_SUITE_P(
    Views, PlanTest,
    ::testing::Values(
        // Variables are expanded in the environment of the entry's view.
        Starts("ProgramFilesOf32BitEntry", "\"%ProgramFiles%\\Vendor\\uninst.exe\" /S",
               "C:\\Program Files (x86)\\Vendor\\uninst.exe",
               "\"C:\\Program Files (x86)\\Vendor\\uninst.exe\" /S",
               "C:\\Program Files (x86)\\Vendor"),
        Starts("ProgramFilesOf64BitEntry", "\"%ProgramFiles%\\Vendor\\uninst.exe\" /S",
               "C:\\Program Files\\Vendor\\uninst.exe",
               "\"C:\\Program Files\\Vendor\\uninst.exe\" /S", "C:\\Program Files\\Vendor",
               EntryView::kMachine64),
        Starts("ProgramFilesOfUserEntry", "\"%ProgramFiles%\\Vendor\\uninst.exe\" /S",
               "C:\\Program Files (x86)\\Vendor\\uninst.exe",
               "\"C:\\Program Files (x86)\\Vendor\\uninst.exe\" /S",
               "C:\\Program Files (x86)\\Vendor", EntryView::kUser),
        Starts("CommonFilesOf64BitEntry", "%CommonProgramFiles%\\Vendor\\remove.exe",
               "C:\\Program Files\\Common Files\\Vendor\\remove.exe",
               "\"C:\\Program Files\\Common Files\\Vendor\\remove.exe\"",
               "C:\\Program Files\\Common Files\\Vendor", EntryView::kMachine64),
        Starts("UnquotedBlanksFromAVariable", "%ProgramW6432%\\My App\\unins000.exe /S", kMyApp,
               "\"" + kMyApp + "\" /S", "C:\\Program Files\\My App"),
        Refused("VariableOfNothing", "%Empty%", "%Empty%"),
        // The system folder of a 64-bit entry is the 64-bit one, reached through Sysnative;
        // the program itself is told System32.
        Starts("BareNameOf64BitEntry", "rundll32.exe shell32.dll,Control_RunDLL",
               kNative + "\\rundll32.exe",
               "\"" + kSys + "\\rundll32.exe\" shell32.dll,Control_RunDLL", kSys,
               EntryView::kMachine64),
        Starts("SystemPathOf64BitEntry", "%SystemRoot%\\System32\\msiexec.exe /x{1}",
               kNative + "\\msiexec.exe", "\"C:\\Windows\\System32\\msiexec.exe\" /x{1}",
               "C:\\Windows\\System32", EntryView::kMachine64),
        Starts("SystemPathOfUserEntry", "%SystemRoot%\\System32\\msiexec.exe /x{1}",
               "C:\\Windows\\System32\\msiexec.exe", "\"C:\\Windows\\System32\\msiexec.exe\" /x{1}",
               "C:\\Windows\\System32", EntryView::kUser),
        Starts("SystemFolderNameAsAPrefixOnly", "C:\\Windows\\system32x\\tool.exe",
               "C:\\Windows\\system32x\\tool.exe", "\"C:\\Windows\\system32x\\tool.exe\"",
               "C:\\Windows\\system32x", EntryView::kMachine64)),
    [](const auto& info) { return info.param.label; });

// On 32-bit Windows there is one view: every entry sees this process's environment and system.
TEST(PlanOn32BitWindows, EveryEntryIsPlannedInThisProcesssOwnSystem) {
  for (const EntryView view : {EntryView::kMachineDefault, EntryView::kMachine64}) {
    const app::LaunchPlan plan = Plan("\"%ProgramFiles%\\Vendor\\uninst.exe\" /S", view, false);
    EXPECT_EQ(plan.program, "C:\\Program Files (x86)\\Vendor\\uninst.exe");
    EXPECT_EQ(Plan("rundll32.exe x", view, false).program, kSys + "\\rundll32.exe");
  }
}

struct BatchCase {
  std::string label;
  std::string command;
  EntryView view;
  std::string program;
  std::string command_line;
  friend void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.label; }
};

class BatchTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(BatchTest, RunsThroughTheSystemsInterpreterInItsOwnFolder) {
  const BatchCase& c = GetParam();
  const app::LaunchPlan plan = Plan(c.command, c.view, true);
  EXPECT_EQ(plan.kind, LaunchKind::kStart);
  EXPECT_EQ(plan.program, c.program);
  EXPECT_EQ(plan.command_line, c.command_line);
  EXPECT_EQ(plan.directory, "C:\\Apps");
}

INSTANTIATE_TEST_SUITE_P(
    Batch, BatchTest,
    ::testing::Values(
        BatchCase{"WithArguments", "C:\\Apps\\remove.bat /quiet /log=C:\\x.txt",
                  EntryView::kMachineDefault, kSys + "\\cmd.exe",
                  "\"" + kSys +
                      "\\cmd.exe\" /D /S /C \"\"C:\\Apps\\remove.bat\" /quiet /log=C:\\x.txt\""},
        BatchCase{"WithoutArguments", "\"C:\\Apps\\remove.cmd\"", EntryView::kMachine64,
                  kNative + "\\cmd.exe",
                  "\"" + kSys + "\\cmd.exe\" /D /S /C \"\"C:\\Apps\\remove.cmd\"\""}),
    [](const auto& info) { return info.param.label; });

// Every character that cmd takes as its own, in the arguments, and the two it expands even in
// quotes, in the path, keep a batch file from running at all.
TEST(Batch, ShellSyntaxIsRefusedNotMissing) {
  for (const char c : std::string_view("%!^&|<>()\"")) {
    const std::string command = "C:\\Apps\\remove.bat /a" + std::string(1, c) + "b";
    const app::LaunchPlan plan = Plan(command, EntryView::kMachineDefault, true);
    EXPECT_EQ(plan.kind, LaunchKind::kRefused) << command;
    EXPECT_EQ(plan.looked_for, "C:\\Apps\\remove.bat") << command;
  }
  const app::LaunchPlan percent_path =
      Plan("\"C:\\Apps\\100%\\remove.bat\" /S", EntryView::kMachineDefault, true);
  EXPECT_EQ(percent_path.kind, LaunchKind::kRefused);
}

// Windows opens u.bat for "u.bat." or "u.bat::$DATA", and cmd runs it: the batch rule follows
// the name Windows opens, so shell syntax after it is always refused, and plain arguments go
// through cmd.exe, or nowhere. The file itself is never started with the command line.
TEST(Batch, ANameWithDotsBlanksOrAStreamAfterItIsStillABatchFile) {
  const struct {
    const char* name;
    bool plain_starts;  // false: not found, the name taken as one without an extension
  } cases[] = {
      {"C:\\Apps\\u.bat.", true},
      {"C:\\Apps\\u.BAT ", true},
      {"C:\\Apps\\u.cmd..", true},
      {"C:\\Apps\\u.bat::$DATA", false},
  };
  for (const auto& c : cases) {
    const std::string quoted = "\"" + std::string(c.name) + "\"";
    const app::LaunchPlan refused = Plan(quoted + " & calc", EntryView::kMachineDefault, true);
    EXPECT_EQ(refused.kind, c.plain_starts ? LaunchKind::kRefused : LaunchKind::kMissing) << c.name;
    const app::LaunchPlan plain = Plan(quoted + " /S", EntryView::kMachineDefault, true);
    if (!c.plain_starts) {
      EXPECT_EQ(plain.kind, LaunchKind::kMissing) << c.name;
      continue;
    }
    EXPECT_EQ(refused.looked_for, c.name);
    EXPECT_EQ(plain.kind, LaunchKind::kStart) << c.name;
    EXPECT_EQ(plain.program, kSys + "\\cmd.exe") << c.name;
    EXPECT_EQ(plain.command_line, "\"" + kSys + "\\cmd.exe\" /D /S /C \"" + quoted + " /S\"")
        << c.name;
  }
}

TEST(NoCommand, NothingToStartUnlessTheWindowsInstallerKnowsTheProduct) {
  EXPECT_EQ(Plan("", EntryView::kMachineDefault, true).kind, LaunchKind::kNoCommand);
  EXPECT_EQ(Plan(" \t", EntryView::kMachineDefault, true).kind, LaunchKind::kNoCommand);
  const std::string code = "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}";
  for (const std::string blank : {"", " \t"}) {
    const app::LaunchPlan plan = Plan(blank, EntryView::kMachineDefault, true, code);
    EXPECT_EQ(plan.kind, LaunchKind::kStart) << '"' << blank << '"';
    EXPECT_EQ(plan.program, kSys + "\\MsiExec.exe");
    EXPECT_EQ(plan.command_line, "\"" + kSys + "\\MsiExec.exe\" /X" + code);
  }
  // A command of its own comes first.
  EXPECT_EQ(Plan("hh.exe", EntryView::kMachineDefault, true, code).program, "C:\\Windows\\hh.exe");
}

// This program is not long-path aware: a path of MAX_PATH units or more names nothing it can
// start, and a huge command is not tried text by text.
TEST(LongPaths, APathOfMaxPathOrMoreIsNoProgram) {
  const std::string fits = "C:\\" + std::string(251, 'a') + "\xC3\xA9.exe";  // 259 units
  const std::string too_long = "C:\\" + std::string(253, 'b') + ".exe";      // 260
  std::string pairs = "C:\\";
  for (int i = 0; i < 127; ++i) pairs += "\xF0\x9F\x98\x80";  // two units each
  pairs += ".exe";                                            // 261 units in all
  sim::SimPlatform sim;
  for (const std::string& path : {fits, too_long, pairs}) sim.files.AddFile(path, kSomeDate);
  app::ProgramEntry entry;
  for (const auto& [command, kind] :
       {std::pair{fits + " /S", LaunchKind::kStart},
        std::pair{too_long + " /S", LaunchKind::kRefused},
        std::pair{pairs + " /S", LaunchKind::kRefused},
        std::pair{"\"" + too_long + "\" /S", LaunchKind::kRefused},
        std::pair{"C:\\x" + std::string(1 << 20, ' '), LaunchKind::kMissing}}) {
    entry.command = command;
    EXPECT_EQ(app::PlanUninstall(entry, app::PathSystem{sim.launcher, sim.files, true}).kind, kind);
  }
}

}  // namespace
