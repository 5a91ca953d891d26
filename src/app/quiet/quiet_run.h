#pragma once

// A quiet uninstall run to its end: started as planned, waited for with everything it started
// (for at most kQuietBoundMs, and never stopped), then its entry watched for going.

#include "app/entry/program_entry.h"
#include "app/launch/launch_plan.h"
#include "app/quiet/quiet_outcome.h"
#include "platform/platform.h"

namespace app {

// How the run ended, as the one box at its end says it. A start that failed is told as any
// other failed start of an uninstaller is, with the system's reason.
QuietResult RunQuietUninstall(platform::Platform& system, const ProgramEntry& program,
                              const LaunchPlan& plan);

}  // namespace app
