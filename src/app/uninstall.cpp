// Uninstalling a chosen program: its own uninstaller is started and the program ends.

#include <exception>

#include "app/form1.h"
#include "app/texts.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

// Windows Installer commands start directly; the command interpreter would only add a window.
constexpr std::string_view kMsiExec = "MSIEXEC.EXE";
constexpr std::string_view kCommandInterpreter = "cmd.exe";
// What the system's search would add to a program named without an extension.
constexpr std::string_view kProgramExtension = ".exe";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNoticeText =
    "Tapwise Uninstaller cannot uninstall this program. Please try another tool.";

// The interpreter strips the outer pair of quotes and runs the rest as written, so a command
// that begins with a quoted path keeps its own quotes.
std::string InterpreterParameters(const std::string& command) {
  return "/C \"" + command + "\"";
}

// The program a command line starts: the text inside its leading quotes, or its first word.
std::string_view ProgramOf(std::string_view command) {
  const auto start = command.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  command.remove_prefix(start);
  if (command.front() == '"') return text::Before(command.substr(1), "\"");
  return command.substr(0, command.find_first_of(kBlanks));
}

bool HasDirectory(std::string_view program) {
  return program.find_first_of("\\/:") != std::string_view::npos;
}

// A Windows Installer command starts as registered. One that names its program without a
// directory ("MsiExec.exe /X{...}") runs the system's program of that name: the system's search
// would look in this program's own folder first, where anyone may have dropped a file.
void StartInstallerCommand(platform::Launcher& launcher, const std::string& command) {
  const std::string_view program = ProgramOf(command);
  if (program.empty() || HasDirectory(program)) {
    launcher.StartCommandLine("", command, platform::kSwShowNormalWindow);
    return;
  }
  std::string file(program);
  if (text::Extension(file).empty()) file += kProgramExtension;
  const std::string system_program = platform::SystemProgram(launcher, file);
  if (system_program.empty()) return;  // nothing is better than a stranger's program
  launcher.StartCommandLine(system_program, command, platform::kSwShowNormalWindow);
}

}  // namespace

void TForm1::ProgramItemClick(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const TProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  LaunchUninstall(item->Program.command);
  CloseMainForm();
}

void TForm1::LaunchUninstall(const std::string& command) {
  RecordLastCommand(command);
  platform::Launcher& launcher = Application().Platform().launcher;
  if (command.empty()) {
    // Nothing can end the program under the notice; it closes after the tools page opens.
    State.AutoCloseArmed = false;
    Windowing().ShowMessageBox(platform::kNoWindow, std::string(kNoticeText), std::string(kTitle),
                               platform::kMbIconInformation);
    OpenWebPage(kToolsPage);
    return;
  }
  if (text::Pos(kMsiExec, text::UpperAscii(command)) != 0) {
    StartInstallerCommand(launcher, command);
    return;
  }
  const std::string interpreter = platform::SystemProgram(launcher, kCommandInterpreter);
  if (interpreter.empty()) return;  // nothing is better than a stranger's program
  launcher.Execute(platform::kNoWindow, "", interpreter, InterpreterParameters(command), "",
                   platform::kSwHideWindow);
}

void TForm1::RecordLastCommand(const std::string& command) {
  // The next start asks whether a program that is still listed should go another way. Losing
  // that hint is no reason to keep the user's uninstaller from starting.
  platform::TRegistry registry(Application().Platform().registry);
  try {
    registry.SelectRoot(platform::kHkeyCurrentUser);
    if (!registry.OpenPath(std::string(kSettingsKey), true)) return;
    registry.WriteText(std::string(kLastValue), command);
    registry.ClosePath();
  } catch (const std::exception&) {
  }
}

}  // namespace app
