#include "app/quiet/quiet_run.h"

#include "app/launch/launch_start.h"
#include "app/quiet/quiet_command.h"
#include "app/texts/texts.h"

namespace app {

QuietResult RunQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan, std::stop_token stop) {
  platform::Started started = system.launcher.Start(UninstallerStart(plan, platform::Follow::kJob));
  const platform::StartError error = started.Error();
  if (error != platform::kStartOk && error != platform::kErrorCancelled) {
    return QuietResult{
        QuietCase::kStartFailed,
        FailedUninstallerText(program.name, system.launcher.ErrorText(error, plan.program)),
        platform::kMbIconInformation};
  }
  const platform::RunOutcome run = started.Wait(kQuietBoundMs, stop);
  // What could not be followed is judged by its entry's going, as a run that ended is.
  const bool listed = error == platform::kStartOk &&
                      ListedAfterRun(system.registry, system.launcher, program,
                                     run.end != platform::RunEnd::kRunning);
  return QuietOutcome(program.name, error, run, listed);
}

}  // namespace app
