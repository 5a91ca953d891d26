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
  enum class Kind { kExecute, kExecuteEx, kStartProcess };
  Kind kind = Kind::kExecute;
  std::int64_t time_ms = 0;
  // kExecute and kExecuteEx.
  platform::ShellExecuteRequest request;
  // kStartProcess.
  platform::ProcessStart start;
  // What the start reported (kExecute reports nothing).
  platform::StartError result = platform::kStartOk;
};

class LaunchRecorder final : public platform::Launcher {
 public:
  explicit LaunchRecorder(const WindowSystem& clock);

  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  platform::StartError ExecuteEx(const platform::ShellExecuteRequest& request) override;
  platform::StartError StartProcess(const platform::ProcessStart& start) override;
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

 private:
  void Record(Launch launch);

  const WindowSystem& clock_;
  std::vector<Launch> launches_;
  std::string system_directory_ = std::string(kSystemDirectory);
  std::string windows_directory_ = std::string(kWindowsDirectory);
  std::map<std::string, std::string> environment_;  // keyed by the upper-cased name
  platform::StartError start_result_ = platform::kStartOk;
  platform::StartError execute_ex_result_ = platform::kStartOk;
};

}  // namespace sim
