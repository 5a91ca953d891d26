// A quiet uninstall, asked for with Shift: one question first, then nothing while it runs, and
// one box at the end that says how it went. The program waits for it to end, hidden
// (quiet/quiet_run.h).

#include "app/menu/main_form.h"
#include "app/quiet/quiet_command.h"
#include "app/quiet/quiet_run.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {

bool MainForm::UninstallQuietly(const ProgramEntry& program) {
  platform::Platform& system = Application().Platform();
  const auto plan = PlanQuietUninstall(WithQuietFacts(system.registry, program),
                                       PathSystemOf(system), system.launcher.Elevated());
  if (!plan) return false;
  // Neither the question nor the wait may be cut short by the auto-close.
  Step(CycleEvent::kNoticeOpening);
  const int answer = Windowing().ShowMessageBox(
      platform::kNoWindow, QuietConfirmText(program.name), std::string(kTitle),
      platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2);
  if (answer != platform::kIdYes) return true;
  const QuietResult result = RunQuietUninstall(system, program, *plan);
  Windowing().ShowMessageBox(platform::kNoWindow, result.text, std::string(kTitle), result.icon);
  return true;
}

}  // namespace app
