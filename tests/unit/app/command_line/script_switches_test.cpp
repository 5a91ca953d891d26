// The actions for scripts as the command line gives them, and every way of getting them wrong.

#include <gtest/gtest.h>

#include "app/command_line/command_line.h"

namespace {

using app::CommandKind;

// list: format, all, file; uninstall: key name, quiet; a usage error: its message.
std::string DetailOf(const app::Command& command) {
  if (command.kind == CommandKind::kList) {
    return std::string(command.list.format == app::ListFormat::kCsv ? "csv" : "json") +
           (command.list.all ? " all " : " ") + command.list.file;
  }
  if (command.kind == CommandKind::kRemoveLeftovers) return command.record;
  if (command.kind != CommandKind::kUninstall) return command.error;
  return command.uninstall.entry.key_name + (command.uninstall.quiet ? " quiet" : "");
}

TEST(ScriptSwitches, OneActionWithItsOwnSwitchesOrAMessageThatSaysWhatWasWrong) {
  using enum CommandKind;
  const std::string kNoId = " is not a program's id as /list gives it.";
  const struct {
    std::vector<std::string> arguments;
    CommandKind kind;
    std::string detail;
  } cases[] = {
      {{"/list"}, kList, "json "},
      {{"/all", "C:\\a b\\l.csv", "/LIST:CSV"}, kList, "csv all C:\\a b\\l.csv"},
      {{"/uninstall", "HKCU/Tool%20x"}, kUninstall, "Tool x"},
      {{"/LeftOvers"}, kLeftovers, ""},
      {{"/leftovers", "/all"}, kUsageError, "/leftovers takes only /remove and a record."},
      {{"C:\\r 1", "/Remove", "/leftovers"}, kRemoveLeftovers, "C:\\r 1"},
      {{"/leftovers", "C:\\r"}, kUsageError, "/leftovers takes a record only with /remove."},
      {{"/leftovers", "/remove"},
       kUsageError,
       "/leftovers /remove takes one record, as /leftovers names it."},
      {{"/list", "/remove"}, kUsageError, "/remove goes with /leftovers, not with /list."},
      {{"/Quiet", "/uninstall", "HKLM64/{A}"}, kUninstall, "{A} quiet"},
      {{"/list", "/uninstall", "HKCU/x"},
       kUsageError,
       "One action at a time: \"/list\" and \"/uninstall\"."},
      {{"/list", "/al"}, kUsageError, "Unknown switch \"/al\"."},
      {{"/list", "/all", "/ALL"}, kUsageError, "\"/ALL\" is given twice."},
      {{"/list", "a", "b"}, kUsageError, "/list writes one file at most, not \"a\" and \"b\"."},
      {{"/list", ""}, kUsageError, "The file to write the list to has no name."},
      {{"/list", "/quiet"}, kUsageError, "/quiet goes with /uninstall, not with /list."},
      {{"/uninstall", "HKCU/x", "/all"}, kUsageError, "/all goes with /list, not with /uninstall."},
      {{"/uninstall", "HKCU/a", "HKCU/b"},
       kUsageError,
       "/uninstall takes one program's id, as /list gives it."},
      // Refused before anything is read: another root, a path, a lower-case root.
      {{"/uninstall", "HKLM/x"}, kUsageError, "\"HKLM/x\"" + kNoId},
      {{"/uninstall", "HKCU/..\\Run"}, kUsageError, "\"HKCU/..\\Run\"" + kNoId},
      {{"/uninstall", "hkcu/x"}, kUsageError, "\"hkcu/x\"" + kNoId},
      // A message stays one line, whatever it quotes, and a short one.
      {{"/uninstall", "HKCU/a\r\nb"}, kUsageError, "\"HKCU/a??b\"" + kNoId},
      {{"/list", "/" + std::string(301, 'x')},
       kUsageError,
       "Unknown switch \"/" + std::string(299, 'x') + "...\"."},
      {{"out.json"},
       kUsageError,
       "No action: give /list, /list:csv, /uninstall or /leftovers, not \"out.json\"."},
  };
  for (const auto& c : cases) {
    const app::Command command = app::ParseCommand(c.arguments);
    EXPECT_EQ(command.kind, c.kind) << c.detail;
    EXPECT_EQ(DetailOf(command), c.detail);
  }
}

}  // namespace
