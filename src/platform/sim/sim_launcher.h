#pragma once

// Records every start of another program, with the virtual time it was asked for.

#include <cstdint>
#include <vector>

#include "platform/launcher.h"

namespace sim {

class WindowSystem;

struct Launch {
  enum class Kind { kExecute, kExecuteEx, kCommandLine };
  Kind kind = Kind::kExecute;
  std::int64_t time_ms = 0;
  // kCommandLine: file holds the command line, show the show state; the rest stays empty.
  platform::ShellExecuteRequest request;
};

class LaunchRecorder final : public platform::Launcher {
 public:
  explicit LaunchRecorder(const WindowSystem& clock) : clock_(clock) {}

  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  void ExecuteEx(const platform::ShellExecuteRequest& request) override;
  void StartCommandLine(const std::string& command_line, int show) override;

  const std::vector<Launch>& Launches() const { return launches_; }

 private:
  void Record(Launch::Kind kind, platform::ShellExecuteRequest request);

  const WindowSystem& clock_;
  std::vector<Launch> launches_;
};

}  // namespace sim
