// What happens when a generated item is chosen: a program's uninstaller starts, or a program's
// processes are ended.

#include <exception>

#include "app/entry/uninstall_command.h"
#include "app/launch/installer_entry.h"
#include "app/launch/last_command.h"
#include "app/launch/launch_notice.h"
#include "app/launch/launch_plan.h"
#include "app/launch/launch_start.h"
#include "app/menu/main_form.h"
#include "app/orphans/removal_prompt.h"
#include "app/processes/processes.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

void MainForm::OnProgramChosen(framework::TMenuItem& sender) {
  // Each item launches the program it was made from, whatever its caption looks like.
  const auto* item = dynamic_cast<const ProgramMenuItem*>(&sender);
  if (item == nullptr) return;
  // Shift asks for a quiet uninstall; the state is read as of the click or key that chose.
  const bool quiet = Windowing().ShiftDown() && UninstallQuietly(item->Program);
  if (!quiet) LaunchUninstall(item->Program);
  Step(CycleEvent::kEndAsked);
}

void MainForm::LaunchUninstall(const ProgramEntry& program) {
  platform::Platform& system = Application().Platform();
  const LaunchPlan plan = PlanUninstall(program, PathSystemOf(system));
  if (plan.kind == LaunchKind::kStart && IsUnknownToWindowsInstaller(program, system.launcher)) {
    Step(CycleEvent::kNoticeOpening);
    OfferEntryRemoval(system, program,
                      UnknownProductQuestion(program.name, InstallerEntryCode(program)));
    return;
  }
  const platform::StartError start = plan.kind == LaunchKind::kStart
                                         ? StartUninstaller(plan, system.launcher)
                                         : platform::kStartOk;
  // "Last" names only an uninstaller that was started: the next start asks after it.
  if (plan.kind == LaunchKind::kStart && start == platform::kStartOk) {
    RecordLastCommand(system.registry, UninstallCommand(program));
  }
  switch (NoticeFor(plan.kind, start)) {
    case LaunchNotice::kNone:
      return;
    case LaunchNotice::kCannotUninstall:
      ShowNotice(std::string(kCannotUninstallText));
      OpenWebPage(kToolsPage);
      return;
    case LaunchNotice::kOfferRemoval:
      Step(CycleEvent::kNoticeOpening);
      OfferEntryRemoval(system, program, OrphanedEntryQuestion(program.name, plan.looked_for));
      return;
    case LaunchNotice::kMissingUninstaller:
      ShowNotice(MissingUninstallerText(program.name, plan.looked_for));
      return;
    case LaunchNotice::kStartFailed:
      ShowNotice(
          FailedUninstallerText(program.name, system.launcher.ErrorText(start, plan.program)));
      return;
  }
}

void MainForm::ShowNotice(const std::string& text) {
  // A box with no owner, under which the auto-close cannot end the program.
  Step(CycleEvent::kNoticeOpening);
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
