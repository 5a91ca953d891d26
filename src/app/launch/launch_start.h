#pragma once

// Starting a planned uninstaller.

#include "app/launch/launch_plan.h"
#include "platform/launcher.h"

namespace app {

// The plan's program, started directly with its command line exactly. One that needs
// administrator rights can only be started by the shell, which asks the user for them: it is
// started again that way, the same file with the same arguments in the same folder. follow:
// how much of it is waited for.
platform::StartSpec UninstallerStart(const LaunchPlan& plan,
                                     platform::Follow follow = platform::Follow::kNothing);

}  // namespace app
