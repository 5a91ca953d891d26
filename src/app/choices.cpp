// What happens when a generated item is chosen: a program's uninstaller starts, or a program's
// processes are ended.

#include <exception>

#include "app/installer_entry.h"
#include "app/last_command.h"
#include "app/launch_plan.h"
#include "app/launch_start.h"
#include "app/main_form.h"
#include "app/processes.h"
#include "app/removal_prompt.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::OnProgramChosen(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const ProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  // Shift asks for a quiet uninstall; the state is read as of the click or key that chose.
  const bool quiet = Windowing().ShiftDown() && UninstallQuietly(item->Program);
  if (!quiet) LaunchUninstall(item->Program);
  CloseMainForm();
}

void MainForm::LaunchUninstall(const ProgramEntry& program) {
  platform::Platform& system = Application().Platform();
  const LaunchPlan plan = PlanUninstall(
      program, PathSystem{system.launcher, system.files, system.registry.HasSeparate64BitView()});
  if (plan.kind == LaunchKind::kNoCommand) {
    ShowNotice(std::string(kCannotUninstallText));
    OpenWebPage(kToolsPage);
    return;
  }
  if (plan.kind == LaunchKind::kMissing) {
    state_.AutoCloseArmed = false;
    OfferEntryRemoval(system, program, OrphanedEntryQuestion(program.name, plan.looked_for));
    return;
  }
  if (plan.kind == LaunchKind::kStart && IsUnknownToWindowsInstaller(program, system.launcher)) {
    state_.AutoCloseArmed = false;
    OfferEntryRemoval(system, program,
                      UnknownProductQuestion(program.name, InstallerEntryCode(program)));
    return;
  }
  if (plan.kind == LaunchKind::kRefused) {
    ShowNotice(MissingUninstallerText(program.name, plan.looked_for));
    return;
  }
  const platform::StartError error = StartUninstaller(plan, system.launcher);
  // "Last" names only an uninstaller that was started: the next start asks after it.
  if (error == platform::kStartOk) RecordLastCommand(system.registry, UninstallCommand(program));
  // A user who declines to give the rights has answered already.
  if (error == platform::kStartOk || error == platform::kErrorCancelled) return;
  ShowNotice(FailedUninstallerText(program.name, system.launcher.ErrorText(error, plan.program)));
}

void MainForm::ShowNotice(const std::string& text) {
  // A box with no owner, under which the auto-close cannot end the program.
  state_.AutoCloseArmed = false;
  Windowing().ShowMessageBox(platform::kNoWindow, text, std::string(kTitle),
                             platform::kMbIconInformation);
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
