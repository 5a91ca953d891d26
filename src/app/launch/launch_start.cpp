#include "app/launch/launch_start.h"

#include "app/launch/installer_entry.h"

namespace app {

platform::StartSpec UninstallerStart(const LaunchPlan& plan, platform::Follow follow,
                                     platform::Elevation elevation) {
  return platform::StartSpec{
      .program = plan.program,
      .command_line = plan.command_line,
      .parameters = plan.arguments,
      .directory = plan.directory,
      .show = plan.show,
      .elevation = elevation,
      .follow = follow,
  };
}

UninstallerLaunch LaunchUninstaller(platform::Launcher& launcher, const ProgramEntry& program,
                                    const LaunchPlan& plan) {
  UninstallerLaunch launch;
  // A file whose presence could not be told is no orphan: the system's error is said instead.
  if (plan.kind == LaunchKind::kUnreachable) launch.start = plan.error;
  if (plan.kind != LaunchKind::kStart) return launch;
  launch.product_unknown = IsUnknownToWindowsInstaller(program, launcher);
  if (launch.product_unknown) return launch;
  launch.asked = true;
  launch.start = launcher.Start(UninstallerStart(plan)).Error();
  return launch;
}

}  // namespace app
