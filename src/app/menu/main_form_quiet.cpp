// A quiet uninstall, asked for with Shift: one question first, then nothing while it runs, and
// one box at the end that says how it went. The program waits for it to end, hidden.

#include "app/menu/main_form.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_outcome.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

bool MainForm::UninstallQuietly(const ProgramEntry& program) {
  platform::Platform& system = Application().Platform();
  const auto plan = PlanQuietUninstall(
      WithQuietFacts(system.registry, program),
      PathSystemOf(system),
      system.launcher.Elevated());
  if (!plan) return false;
  // Neither the question nor the wait may be cut short by the auto-close.
  Step(CycleEvent::kNoticeOpening);
  const int answer = Windowing().ShowMessageBox(
      platform::kNoWindow, QuietConfirmText(program.name), std::string(kTitle),
      platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  if (answer != platform::kIdYes) return true;
  const platform::TrackedRun run = system.launcher.RunTracked(platform::TrackedStart{
      .process = {plan->program, plan->command_line, plan->directory, plan->show},
      .arguments = plan->arguments,
      .bound_ms = kQuietBoundMs,
  });
  if (run.error != platform::kStartOk && run.error != platform::kErrorCancelled) {
    ShowNotice(
        FailedUninstallerText(program.name, system.launcher.ErrorText(run.error, plan->program)));
    return true;
  }
  const bool listed = run.error == platform::kStartOk &&
                      ListedAfterRun(system.registry, system.launcher, program, run.ended);
  const QuietResult result = QuietOutcome(program.name, run, listed);
  Windowing().ShowMessageBox(platform::kNoWindow, result.text, std::string(kTitle), result.icon);
  return true;
}

}  // namespace app
