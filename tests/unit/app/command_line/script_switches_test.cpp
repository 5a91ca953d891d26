// The actions for scripts as the command line gives them, and every way of getting them wrong.

#include <gtest/gtest.h>

#include "app/command_line/command_line.h"

namespace {

using app::CommandKind;
using app::ListFormat;

struct SwitchCase {
  std::vector<std::string> arguments;
  CommandKind kind;
  std::string detail;  // list: format, all, file; uninstall: key name, quiet; error: the message
};

std::string DetailOf(const app::Command& command) {
  switch (command.kind) {
    case CommandKind::kList:
      return std::string(command.list.format == ListFormat::kCsv ? "csv" : "json") +
             (command.list.all ? " all " : " ") + command.list.file;
    case CommandKind::kUninstall:
      return command.uninstall.entry.key_name + (command.uninstall.quiet ? " quiet" : "");
    default:
      return command.error;
  }
}

TEST(ScriptSwitches, OneActionWithItsOwnSwitchesOrAMessageThatSaysWhatWasWrong) {
  const SwitchCase cases[] = {
      {{"/list"}, CommandKind::kList, "json "},
      {{"/LIST:CSV", "/All"}, CommandKind::kList, "csv all "},
      {{"/all", "C:\\out dir\\l.json", "/list"},
       CommandKind::kList,
       "json all C:\\out dir\\l.json"},
      {{"/uninstall", "HKCU/Tool%20x"}, CommandKind::kUninstall, "Tool x"},
      {{"/Quiet", "/uninstall", "HKLM64/{A}"}, CommandKind::kUninstall, "{A} quiet"},
      {{"/list", "/uninstall", "HKCU/x"},
       CommandKind::kUsageError,
       "One action at a time: \"/list\" and \"/uninstall\"."},
      {{"/list", "/list:csv"},
       CommandKind::kUsageError,
       "One action at a time: \"/list\" and \"/list:csv\"."},
      {{"/list", "/al"}, CommandKind::kUsageError, "Unknown switch \"/al\"."},
      {{"/list", "/all", "/ALL"}, CommandKind::kUsageError, "\"/ALL\" is given twice."},
      {{"/list", "a", "b"},
       CommandKind::kUsageError,
       "/list writes one file at most, not \"a\" and \"b\"."},
      {{"/list", ""}, CommandKind::kUsageError, "The file to write the list to has no name."},
      {{"/list", "/quiet"},
       CommandKind::kUsageError,
       "/quiet goes with /uninstall, not with /list."},
      {{"/uninstall", "HKCU/x", "/all"},
       CommandKind::kUsageError,
       "/all goes with /list, not with /uninstall."},
      {{"/uninstall"},
       CommandKind::kUsageError,
       "/uninstall takes one program's id, as /list gives it."},
      {{"/uninstall", "HKCU/a", "HKCU/b"},
       CommandKind::kUsageError,
       "/uninstall takes one program's id, as /list gives it."},
      // The id is refused before anything is read: another root, a path, a lower-case escape.
      {{"/uninstall", "HKLM/x"},
       CommandKind::kUsageError,
       "\"HKLM/x\" is not a program's id as /list gives it."},
      {{"/uninstall", "HKCU/..\\Run"},
       CommandKind::kUsageError,
       "\"HKCU/..\\Run\" is not a program's id as /list gives it."},
      {{"/uninstall", "hkcu/x"},
       CommandKind::kUsageError,
       "\"hkcu/x\" is not a program's id as /list gives it."},
      // A message stays one line whatever it quotes.
      {{"/uninstall", "HKCU/a\r\nb"},
       CommandKind::kUsageError,
       "\"HKCU/a??b\" is not a program's id as /list gives it."},
      {{"out.json"},
       CommandKind::kUsageError,
       "No action: give /list, /list:csv or /uninstall, not \"out.json\"."},
      {{"/all"},
       CommandKind::kUsageError,
       "No action: give /list, /list:csv or /uninstall, not \"/all\"."},
  };
  for (const SwitchCase& c : cases) {
    const app::Command command = app::ParseCommand(c.arguments);
    EXPECT_EQ(command.kind, c.kind) << c.arguments[0] << " " << c.detail;
    EXPECT_EQ(DetailOf(command), c.detail);
  }
}

TEST(ScriptSwitches, ALongArgumentIsCutInItsMessage) {
  const std::string long_switch = "/" + std::string(400, 'x');
  const std::string error = app::ParseCommand({"/list", long_switch}).error;
  EXPECT_EQ(error, "Unknown switch \"" + long_switch.substr(0, 300) + "...\".");
}

}  // namespace
