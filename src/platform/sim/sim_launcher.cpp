#include "platform/sim/sim_launcher.h"

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

}  // namespace

LaunchRecorder::LaunchRecorder(const WindowSystem& clock) : clock_(clock) {
  for (const auto& [name, value] : kWow64Environment) {
    environment_[text::UpperAscii(name)] = std::string(value);
  }
}

void LaunchRecorder::Record(Launch launch) {
  launch.time_ms = clock_.Now();
  launches_.push_back(std::move(launch));
}

void LaunchRecorder::Execute(platform::WindowId owner, const std::string& verb,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int show) {
  Launch launch;
  launch.kind = Launch::Kind::kExecute;
  launch.request.owner = owner;
  launch.request.verb = verb;
  launch.request.file = file;
  launch.request.parameters = parameters;
  launch.request.directory = directory;
  launch.request.show = show;
  Record(std::move(launch));
}

platform::StartError LaunchRecorder::ExecuteEx(const platform::ShellExecuteRequest& request) {
  Launch launch;
  launch.kind = Launch::Kind::kExecuteEx;
  launch.request = request;
  launch.result = execute_ex_result_;
  Record(std::move(launch));
  return execute_ex_result_;
}

platform::StartError LaunchRecorder::StartProcess(const platform::ProcessStart& start) {
  Launch launch;
  launch.kind = Launch::Kind::kStartProcess;
  launch.start = start;
  launch.result = start_result_;
  Record(std::move(launch));
  return start_result_;
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
