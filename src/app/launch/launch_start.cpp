#include "app/launch/launch_start.h"

#include <string_view>

namespace app {
namespace {

constexpr std::string_view kRunAs = "runas";
// The program ends as soon as the start returns, so the shell must finish it first; errors are
// the program's to report.
constexpr std::uint32_t kShellMask = platform::kSeeMaskFlagNoUi | platform::kSeeMaskFlagDdeWait;

}  // namespace

platform::StartError StartUninstaller(const LaunchPlan& plan, platform::Launcher& launcher) {
  const platform::StartError error = launcher.StartProcess(platform::ProcessStart{
      .application = plan.program,
      .command_line = plan.command_line,
      .directory = plan.directory,
      .show = plan.show,
  });
  if (error != platform::kErrorElevationRequired) return error;
  platform::ShellExecuteRequest request;
  request.mask = kShellMask;
  request.verb = std::string(kRunAs);
  request.file = plan.program;
  request.parameters = plan.arguments;
  request.directory = plan.directory;
  request.show = plan.show;
  return launcher.ExecuteEx(request);
}

}  // namespace app
