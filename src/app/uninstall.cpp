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
constexpr std::string_view kNoticeText =
    "Tapwise Uninstaller cannot uninstall this program. Please try another tool.";

// The interpreter strips the outer pair of quotes and runs the rest as written, so a command
// that begins with a quoted path keeps its own quotes.
std::string InterpreterParameters(const std::string& command) {
  return "/C \"" + command + "\"";
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
    launcher.StartCommandLine(command, platform::kSwShowNormalWindow);
    return;
  }
  launcher.Execute(platform::kNoWindow, "", std::string(kCommandInterpreter),
                   InterpreterParameters(command), "", platform::kSwHideWindow);
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
