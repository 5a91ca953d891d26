#pragma once

// Records every start of another program, with the virtual time it was asked for, and answers
// what choosing a program asks of the system: folders and environment variables as a 32-bit
// program on 64-bit Windows is told them.

#include <cstdint>
#include <functional>
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
  enum class Kind { kExecute, kExecuteEx, kStartProcess, kTracked, kRunElevated };
  Kind kind = Kind::kExecute;
  std::int64_t time_ms = 0;
  // kExecute, kExecuteEx and kRunElevated.
  platform::ShellExecuteRequest request;
  // kStartProcess and kTracked (whose shell parameters are in request.parameters).
  platform::ProcessStart start;
  // What the start reported (kExecute reports nothing).
  platform::StartError result = platform::kStartOk;
  // kRunElevated: whether it ended in time, and how.
  platform::ElevatedRun run;
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
  // Records the request (verb "runas", hidden) and gives what the elevated run action gives.
  platform::ElevatedRun RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                           std::uint32_t wait_ms) override;
  // What SetInstallerProductState gave for the code; nothing (no msi.dll) by default. Every
  // code asked about is recorded.
  std::optional<int> InstallerProductState(const std::string& product_code) override;
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
  // Plays the elevated program: given the request and the wait, gives its outcome (and may
  // change the substitute registry as the program would). By default it ends at once with 0.
  using ElevatedAction =
      std::function<platform::ElevatedRun(const platform::ShellExecuteRequest&, std::uint32_t)>;
  void SetElevatedAction(ElevatedAction action) { elevated_action_ = std::move(action); }
  void SetInstallerProductState(std::optional<int> state) { product_state_ = state; }
  const std::vector<std::string>& ProductQueries() const { return product_queries_; }

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
  ElevatedAction elevated_action_;
  std::optional<int> product_state_;
  std::vector<std::string> product_queries_;
};

}  // namespace sim
