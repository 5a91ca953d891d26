// What happens when a generated item is chosen: a program's uninstaller starts, or a program's
// processes are ended.

#include <exception>

#include "app/last_command.h"
#include "app/launch_plan.h"
#include "app/main_form.h"
#include "app/processes.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::OnProgramChosen(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const ProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  LaunchUninstall(item->Program.command);
  CloseMainForm();
}

void MainForm::LaunchUninstall(const std::string& command) {
  platform::Platform& platform = Application().Platform();
  RecordLastCommand(platform.registry, command);
  const LaunchPlan plan = PlanUninstall(command, platform.launcher.SystemDirectory());
  if (plan.start == LaunchPlan::Start::kNotice) {
    ShowCannotUninstall();
    return;
  }
  StartPlan(platform.launcher, plan);
}

void MainForm::ShowCannotUninstall() {
  // Nothing can end the program under the notice; it closes after the tools page opens.
  state_.AutoCloseArmed = false;
  Windowing().ShowMessageBox(platform::kNoWindow, std::string(kCannotUninstallText),
                             std::string(kTitle), platform::kMbIconInformation);
  OpenWebPage(kToolsPage);
}

void MainForm::OnProcessChosen(framework::TMenuItem& sender) {
  // The program ends through the auto-close, so a slow consent prompt cannot be cut short.
  const auto* item = dynamic_cast<const ProcessMenuItem*>(&sender);
  if (item == nullptr) return;
  platform::Launcher& launcher = Application().Platform().launcher;
  const auto request = KillRequest(item->ProcessName, launcher.SystemDirectory());
  if (!request) return;
  try {
    launcher.ExecuteEx(*request);
  } catch (const std::exception&) {
    // A refused or failed start changes nothing in the program.
  }
}

}  // namespace app
