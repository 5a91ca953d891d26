// The command line: split as Microsoft's C runtime splits it, joined so that it splits back the
// same, and read into what the program is asked to do, refusing anything else.

#include "app/command_line/command_line.h"

#include <gtest/gtest.h>

#include "app/command_line/arguments.h"
#include "app/copies/copy_file_name.h"

namespace {

using app::CommandKind;
using app::EntryView;
using Arguments = std::vector<std::string>;

const std::string kFingerprint = "0123456789ABCDEF";

TEST(CommandLine, SplitsAsTheCRuntimeDoes) {
  const std::pair<const char*, Arguments> cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"\"a b\" c", {"a b", "c"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"a\\\\b", {"a\\\\b"}},         // backslashes alone are literal
      {"a\\\"b", {"a\"b"}},           // an odd one before a quote makes it literal
      {"\"a\\\\\" b", {"a\\", "b"}},  // a pair before a quote is one
      {"\"a \"\"q\"\" b\"", {"a \"q\" b"}},
      {"\"unclosed tail", {"unclosed tail"}},
      {"trailing\\", {"trailing\\"}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(app::SplitArguments(line), expected) << line;
}

TEST(CommandLine, JoinedArgumentsSplitBackTheSame) {
  const Arguments arguments = {"plain",     "",      "with blank",
                               "q\"uote",   "end\\", "\\\\server\\x y\\",
                               "tab\there", "\\\"",  "C:\\a b\\Name 2026-12-08 10-00-00 (2).reg"};
  EXPECT_EQ(app::SplitArguments(app::JoinedArguments(arguments)), arguments);
}

TEST(CommandLine, TheElevatedStepsArgumentsAreReadBackOrRefused) {
  // Quotes, blanks, "%" and a right-to-left mark reach the step as they are.
  const app::MachineEntryRequest asked{EntryView::kMachineDefault, "{X} \"q\" %P% \xE2\x80\xAE",
                                       "Gone 2026-12-08 10-00-00.reg", 0xFEDCBA9876543210};
  const app::Command read = app::ParseCommand(
      app::SplitArguments(app::JoinedArguments(app::MachineEntryArguments(asked))));
  EXPECT_EQ(read.kind, CommandKind::kRemoveMachineEntry) << read.error;
  EXPECT_EQ(read.machine_entry, asked);
  // A backslash would lead to another key: no name holds one.
  const app::MachineEntryRequest deeper{EntryView::kMachine64, "a\\Run", "x.reg", 1};
  EXPECT_EQ(app::ParseCommand(app::MachineEntryArguments(deeper)).kind, CommandKind::kUsageError);
  const std::string verb(app::kRemoveMachineEntryVerb);
  const Arguments refused[] = {
      {"/bogus"},
      {verb},
      {verb, "HKLM", "64", "0041", "x.reg", kFingerprint, "extra"},
      {verb, "HKLM", "64", "0041", "x.reg"},
      {verb, "HKLM", "64", "0041", "x.reg", "0123456789abcdef"},
      {verb, "HKLM", "64", "0041", "x.reg", "0123456789ABCDE"},
      {verb, "HKCU", "64", "0041", "x.reg", kFingerprint},
      {verb, "hklm", "64", "0041", "x.reg", kFingerprint},
      {verb, "HKLM\\SOFTWARE", "64", "0041", "x.reg", kFingerprint},
      {verb, "HKLM", "128", "0041", "x.reg", kFingerprint},
      {verb, "HKLM", "", "0041", "x.reg", kFingerprint},
      {verb, "HKLM", "64", "", "x.reg", kFingerprint},
      {verb, "HKLM", "64", "041", "x.reg", kFingerprint},  // a digit short
      {verb, "HKLM", "64", "004g", "x.reg", kFingerprint},
      {verb, "HKLM", "64", "004a", "x.reg", kFingerprint},              // one spelling: upper case
      {verb, "HKLM", "64", "0000", "x.reg", kFingerprint},              // NUL
      {verb, "HKLM", "64", "002E002E005C0052", "x.reg", kFingerprint},  // "..\R": another key
      {verb, "HKLM", "64", std::string(256 * 4, 'A'), "x.reg", kFingerprint},
  };
  for (const Arguments& arguments : refused) {
    const app::Command command = app::ParseCommand(arguments);
    EXPECT_EQ(command.kind, CommandKind::kUsageError) << arguments.size();
    EXPECT_FALSE(command.error.empty());
  }
  EXPECT_EQ(app::ParseCommand({}).kind, CommandKind::kMenu);
}

TEST(CommandLine, OnlyAPlainCopyNameIsTaken) {
  for (const char* name : {"Gone 2026-12-08 10-00-00.reg", "caf\xC3\xA9 (2).reg"}) {
    EXPECT_TRUE(app::IsPlainCopyName(name)) << name;
  }
  for (const char* name : {"", ".reg", "x.REG", "..\\x.reg", "a/b.reg", "C:x.reg", "x.reg:s.reg",
                           "CON.reg", " x.reg", "x.reg.", "tab\t.reg", "x.txt", "x\".reg"}) {
    EXPECT_FALSE(app::IsPlainCopyName(name)) << name;
  }
}

}  // namespace
