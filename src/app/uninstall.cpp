// Uninstalling a chosen program: its own uninstaller is started and the program ends.

#include <exception>

#include "app/form1.h"
#include "app/launch_plan.h"
#include "app/launch_start.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {
namespace {

constexpr std::string_view kNoticeText =
    "Tapwise Uninstaller cannot uninstall this program. Please try another tool.";

// A box with no owner, under which the auto-close cannot end the program.
void ShowNotice(ProgramState& state, platform::Windowing& windowing, const std::string& text) {
  state.AutoCloseArmed = false;
  windowing.ShowMessageBox(platform::kNoWindow, text, std::string(kTitle),
                           platform::kMbIconInformation);
}

}  // namespace

void TForm1::ProgramItemClick(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const TProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  LaunchUninstall(item->Program);
  CloseMainForm();
}

void TForm1::LaunchUninstall(const ProgramEntry& program) {
  RecordLastCommand(UninstallCommand(program));
  platform::Platform& system = Application().Platform();
  const LaunchPlan plan = PlanUninstall(
      program, LaunchSystem{system.launcher, system.files, system.registry.HasSeparate64BitView()});
  if (plan.kind == LaunchKind::kNoCommand) {
    // Nothing can end the program under the notice; it closes after the tools page opens.
    ShowNotice(State, Windowing(), std::string(kNoticeText));
    OpenWebPage(kToolsPage);
    return;
  }
  if (plan.kind == LaunchKind::kMissing) {
    ShowNotice(State, Windowing(), MissingUninstallerText(program.name, plan.looked_for));
    return;
  }
  const platform::StartError error = StartUninstaller(plan, system.launcher);
  // A user who declines to give the rights has answered already.
  if (error == platform::kStartOk || error == platform::kErrorCancelled) return;
  ShowNotice(State, Windowing(),
             FailedUninstallerText(program.name, system.launcher.ErrorText(error)));
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
