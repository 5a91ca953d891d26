#pragma once

// Starting a planned uninstaller.

#include "app/launch/launch_plan.h"
#include "platform/launcher.h"

namespace app {

// Starts the plan's program directly. One that needs administrator rights can only be started
// by the shell, which asks the user for them: it is started again that way, the same file with
// the same arguments in the same folder. kStartOk, or the error of the last attempt.
platform::StartError StartUninstaller(const LaunchPlan& plan, platform::Launcher& launcher);

}  // namespace app
