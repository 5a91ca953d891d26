#include "app/launch/launch_start.h"

namespace app {

platform::StartSpec UninstallerStart(const LaunchPlan& plan, platform::Follow follow) {
  return platform::StartSpec{
      .program = plan.program,
      .command_line = plan.command_line,
      .parameters = plan.arguments,
      .directory = plan.directory,
      .show = plan.show,
      .elevation = platform::Elevation::kWhenNeeded,
      .follow = follow,
  };
}

}  // namespace app
