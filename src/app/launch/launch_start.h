#pragma once

// Starting a planned uninstaller.

#include "app/entry/program_entry.h"
#include "app/launch/launch_plan.h"
#include "platform/launcher.h"

namespace app {

// The plan's program, started directly with its command line exactly. One that needs
// administrator rights can only be started by the shell, which asks the user for them: it is
// started again that way, the same file with the same arguments in the same folder, unless
// elevation says otherwise. follow: how much of it is waited for.
platform::StartSpec UninstallerStart(
    const LaunchPlan& plan, platform::Follow follow = platform::Follow::kNothing,
    platform::Elevation elevation = platform::Elevation::kWhenNeeded);

// How the chosen program's uninstall was started.
struct UninstallerLaunch {
  // Windows Installer does not know the product of the entry it wrote: nothing was started.
  bool product_unknown = false;
  // The plan's program was asked to start; start says how that went.
  bool asked = false;
  // kStartOk for a plan that starts nothing; the system's error for one whose file could not
  // be looked for.
  platform::StartError start = platform::kStartOk;
};

// The plan carried out as choosing the program does: a Windows Installer entry whose product
// is unknown is not started, and a program that needs administrator rights asks for them.
UninstallerLaunch LaunchUninstaller(platform::Launcher& launcher, const ProgramEntry& program,
                                    const LaunchPlan& plan);

}  // namespace app
