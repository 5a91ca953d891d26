#pragma once

// A quiet uninstall run to its end: started as planned, waited for with everything it started
// (for at most kQuietBoundMs, and never stopped), then its entry watched for going.

#include <stop_token>
#include <string>

#include "app/entry/program_entry.h"
#include "app/launch/launch_plan.h"
#include "app/quiet/quiet_outcome.h"
#include "platform/platform.h"

namespace app {

// What can be seen of a quiet uninstall's run: its start, how the wait for it ended, and
// whether its entry was still listed then.
struct QuietRun {
  platform::StartError start = platform::kStartOk;
  platform::RunOutcome run = {};
  bool listed = true;
  std::string record_folder = {};  // the record kept before the start, when one was written
};

// Starts the planned quiet command, with administrator rights asked for as elevation says, and
// follows it as RunQuietUninstall does. A start that failed or was declined is not waited for.
QuietRun FollowQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan, platform::Elevation elevation,
                              std::stop_token stop);

// How the run ended, as the one box at its end says it. A start that failed is told as any
// other failed start of an uninstaller is, with the system's reason.
// On a worker: stop cuts the wait short, as the end of the program does.
// record_folder: the record kept before the start, when one was written.
QuietResult RunQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan, std::stop_token stop,
                              std::string& record_folder);

}  // namespace app
