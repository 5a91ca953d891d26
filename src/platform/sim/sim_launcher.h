#pragma once

// Records every start of another program, with the virtual time it was asked for.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/launcher.h"

namespace sim {

class WindowSystem;

// The system directory the substitute reports, as a 32-bit program on Windows is told it.
inline constexpr std::string_view kSystemDirectory = "C:\\Windows\\system32";

struct Launch {
  enum class Kind { kExecute, kExecuteEx, kCommandLine };
  Kind kind = Kind::kExecute;
  std::int64_t time_ms = 0;
  // kCommandLine: file holds the program (empty: left to the system's search), parameters the
  // whole command line, show the show state; the rest stays empty.
  platform::ShellExecuteRequest request;
};

class LaunchRecorder final : public platform::Launcher {
 public:
  explicit LaunchRecorder(const WindowSystem& clock) : clock_(clock) {}

  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  void ExecuteEx(const platform::ShellExecuteRequest& request) override;
  void StartCommandLine(const std::string& program, const std::string& command_line,
                        int show) override;
  std::string SystemDirectory() override { return system_directory_; }

  const std::vector<Launch>& Launches() const { return launches_; }
  void SetSystemDirectory(std::string directory) { system_directory_ = std::move(directory); }

 private:
  void Record(Launch::Kind kind, platform::ShellExecuteRequest request);

  const WindowSystem& clock_;
  std::vector<Launch> launches_;
  std::string system_directory_ = std::string(kSystemDirectory);
};

}  // namespace sim
