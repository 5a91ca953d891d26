#include "app/quiet/quiet_run.h"

#include "app/quiet/quiet_command.h"
#include "app/texts/texts.h"

namespace app {

QuietResult RunQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan) {
  const platform::TrackedRun run = system.launcher.RunTracked(platform::TrackedStart{
      .process = {plan.program, plan.command_line, plan.directory, plan.show},
      .arguments = plan.arguments,
      .bound_ms = kQuietBoundMs,
  });
  if (run.error != platform::kStartOk && run.error != platform::kErrorCancelled) {
    return QuietResult{
        QuietCase::kStartFailed,
        FailedUninstallerText(program.name, system.launcher.ErrorText(run.error, plan.program)),
        platform::kMbIconInformation};
  }
  const bool listed = run.error == platform::kStartOk &&
                      ListedAfterRun(system.registry, system.launcher, program, run.ended);
  return QuietOutcome(program.name, run, listed);
}

}  // namespace app
