#include "platform/sim/sim_launcher.h"

#include <algorithm>

#include "platform/error_text.h"
#include "platform/sim/sim_windowing.h"
#include "platform/text.h"

namespace sim {
namespace {

// The variables whose value differs between the two halves of 64-bit Windows, and the folders
// every process is told, as a 32-bit process there sees them.
constexpr std::pair<std::string_view, std::string_view> kWow64Environment[] = {
    {"SystemRoot", "C:\\Windows"},
    {"windir", "C:\\Windows"},
    {"ProgramFiles", "C:\\Program Files (x86)"},
    {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
    {"ProgramW6432", "C:\\Program Files"},
    {"CommonProgramFiles", "C:\\Program Files (x86)\\Common Files"},
    {"CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files"},
    {"CommonProgramW6432", "C:\\Program Files\\Common Files"},
    {"PROCESSOR_ARCHITECTURE", "x86"},
    {"PROCESSOR_ARCHITEW6432", "AMD64"},
};

// A followed run on the virtual clock: the time passes as under a modal loop, up to the bound.
class FollowedRun final : public platform::Followed {
 public:
  FollowedRun(WindowSystem& windows, LaunchRecorder::ScriptedRun script)
      : windows_(windows), script_(script) {}

  platform::RunOutcome Wait(std::uint32_t bound_ms, std::stop_token stop) override {
    if (stop.stop_requested()) return {platform::RunEnd::kRunning, 0};
    const std::int64_t bound = bound_ms;
    const std::int64_t waited = std::min(script_.lasts_ms - spent_, bound);
    windows_.Wait(waited);
    spent_ += waited;
    if (spent_ < script_.lasts_ms) return {platform::RunEnd::kRunning, 0};
    return {platform::RunEnd::kEnded, script_.exit_code};
  }

 private:
  WindowSystem& windows_;
  const LaunchRecorder::ScriptedRun script_;
  std::int64_t spent_ = 0;
};

}  // namespace

LaunchRecorder::LaunchRecorder(WindowSystem& windows) : windows_(windows) {
  for (const auto& [name, value] : kWow64Environment) {
    environment_[text::UpperAscii(name)] = std::string(value);
  }
}

void LaunchRecorder::Record(Launch launch) {
  launch.time_ms = windows_.Now();
  launches_.push_back(std::move(launch));
}

platform::Started LaunchRecorder::Start(const platform::StartSpec& asked) {
  Launch launch;
  launch.asked = asked;
  launch.elevated = asked.elevation == platform::Elevation::kAlways;
  launch.through_shell = launch.elevated || asked.command_line.empty();
  launch.result = launch.through_shell ? shell_result_ : direct_result_;
  if (!launch.through_shell && launch.result == platform::kErrorElevationRequired &&
      asked.elevation == platform::Elevation::kWhenNeeded) {
    launch.through_shell = launch.elevated = true;
    launch.result = shell_result_;
  }
  const bool followed = asked.follow != platform::Follow::kNothing;
  // What never started plays nothing.
  ScriptedRun script;
  if (launch.result == platform::kStartOk) {
    script = start_action_ ? start_action_(asked) : (followed ? tracked_run_ : ScriptedRun{});
    launch.result = script.error;
  }
  const platform::StartError error = launch.result;
  Record(std::move(launch));
  if (error != platform::kStartOk || !followed || !script.followable) {
    return platform::Started(error);
  }
  return platform::Started(platform::kStartOk, std::make_unique<FollowedRun>(windows_, script));
}

void LaunchRecorder::Pause(std::uint32_t ms) {
  windows_.Wait(ms);
}

std::optional<int> LaunchRecorder::InstallerProductState(const std::string& product_code) {
  const platform::MutexLock lock(product_mutex_);
  product_queries_.push_back(product_code);
  return product_state_;
}

std::optional<std::string> LaunchRecorder::EnvironmentVariable(const std::string& name) {
  const auto found = environment_.find(text::UpperAscii(name));
  if (found == environment_.end()) return std::nullopt;
  return found->second;
}

void LaunchRecorder::SetEnvironmentVariable(const std::string& name,
                                            std::optional<std::string> value) {
  if (!value) {
    environment_.erase(text::UpperAscii(name));
    return;
  }
  environment_[text::UpperAscii(name)] = std::move(*value);
}

std::string LaunchRecorder::ErrorText(platform::StartError error, const std::string& path) {
  if (error == platform::kErrorBadExeFormat) {
    return platform::WithPathInserted("Bad EXE format for %1.", path);
  }
  return "System error " + std::to_string(error) + ".";
}

}  // namespace sim
