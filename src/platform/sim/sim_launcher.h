#pragma once

// Records every start of another program, with the virtual time it was asked for, and answers
// what choosing a program asks of the system: folders and environment variables as a 32-bit
// program on 64-bit Windows is told them.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/launcher.h"

namespace sim {

class WindowSystem;

// The system directory the substitute reports, as a 32-bit program on Windows is told it.
inline constexpr std::string_view kSystemDirectory = "C:\\Windows\\system32";
inline constexpr std::string_view kWindowsDirectory = "C:\\Windows";

struct Launch {
  enum class Kind { kExecute, kExecuteEx, kStartProcess, kTracked };
  Kind kind = Kind::kExecute;
  std::int64_t time_ms = 0;
  // kExecute and kExecuteEx.
  platform::ShellExecuteRequest request;
  // kStartProcess and kTracked (whose shell parameters are in request.parameters).
  platform::ProcessStart start;
  // What the start reported (kExecute reports nothing).
  platform::StartError result = platform::kStartOk;
};

class LaunchRecorder final : public platform::Launcher {
 public:
  explicit LaunchRecorder(WindowSystem& windows);

  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  platform::StartError ExecuteEx(const platform::ShellExecuteRequest& request) override;
  platform::StartError StartProcess(const platform::ProcessStart& start) override;
  // Records the start, then lets the scripted run take its time on the virtual clock, handling
  // messages, timers and actions as a modal loop does, up to the bound.
  platform::TrackedRun RunTracked(const platform::TrackedStart& start) override;
  void Pause(std::uint32_t ms) override;
  bool Elevated() override { return elevated_; }
  std::string SystemDirectory() override { return system_directory_; }
  std::string WindowsDirectory() override { return windows_directory_; }
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  // Wine's "Bad EXE format for %1." for kErrorBadExeFormat, "System error N." for every other
  // N; "%1" filled as the real system's text is.
  std::string ErrorText(platform::StartError error, const std::string& path) override;

  const std::vector<Launch>& Launches() const { return launches_; }
  void SetSystemDirectory(std::string directory) { system_directory_ = std::move(directory); }
  void SetWindowsDirectory(std::string directory) { windows_directory_ = std::move(directory); }
  // Sets a variable, or with nothing removes it.
  void SetEnvironmentVariable(const std::string& name, std::optional<std::string> value);
  // What every later StartProcess, or ExecuteEx, reports.
  void SetStartProcessResult(platform::StartError result) { start_result_ = result; }
  void SetExecuteExResult(platform::StartError result) { execute_ex_result_ = result; }
  // What the next followed runs do: fail to start with error, or last lasts_ms and end with
  // exit_code (a run longer than its bound is still running when the wait ends).
  struct ScriptedRun {
    platform::StartError error = platform::kStartOk;
    std::int64_t lasts_ms = 0;
    std::uint32_t exit_code = 0;
  };
  void SetTrackedRun(ScriptedRun run) { tracked_run_ = run; }
  void SetElevated(bool elevated) { elevated_ = elevated; }

 private:
  void Record(Launch launch);

  WindowSystem& windows_;
  std::vector<Launch> launches_;
  std::string system_directory_ = std::string(kSystemDirectory);
  std::string windows_directory_ = std::string(kWindowsDirectory);
  std::map<std::string, std::string> environment_;  // keyed by the upper-cased name
  platform::StartError start_result_ = platform::kStartOk;
  platform::StartError execute_ex_result_ = platform::kStartOk;
  ScriptedRun tracked_run_;
  bool elevated_ = false;
};

}  // namespace sim
