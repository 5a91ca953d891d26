#include "app/quiet/quiet_run.h"

#include "app/launch/launch_start.h"
#include "app/leftovers/evidence_store.h"
#include "app/quiet/quiet_command.h"
#include "app/texts/texts.h"

namespace app {

QuietRun FollowQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan, platform::Elevation elevation,
                              std::stop_token stop) {
  std::string record_folder = KeepEvidence(system, program, plan).value_or(std::string{});
  platform::Started started =
      system.launcher.Start(UninstallerStart(plan, platform::Follow::kJob, elevation));
  QuietRun run{.start = started.Error(), .record_folder = std::move(record_folder)};
  if (run.start != platform::kStartOk) return run;
  run.run = started.Wait(kQuietBoundMs, stop);
  // What could not be followed is judged by its entry's going, as a run that ended is.
  run.listed = ListedAfterRun(system.registry, system.launcher, program,
                              run.run.end != platform::RunEnd::kRunning);
  return run;
}

QuietResult RunQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan, std::stop_token stop,
                              std::string& record_folder) {
  const QuietRun run =
      FollowQuietUninstall(system, program, plan, platform::Elevation::kWhenNeeded, stop);
  record_folder = run.record_folder;
  if (run.start != platform::kStartOk && run.start != platform::kErrorCancelled) {
    return QuietResult{
        QuietCase::kStartFailed,
        FailedUninstallerText(program.name, system.launcher.ErrorText(run.start, plan.program)),
        platform::kMbIconInformation};
  }
  return QuietOutcome(program.name, run.start, run.run,
                      run.start == platform::kStartOk && run.listed);
}

}  // namespace app
