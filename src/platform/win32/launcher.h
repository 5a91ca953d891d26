#pragma once

#include "platform/launcher.h"

namespace win32 {

// Starts programs through the shell and CreateProcessW. Results are ignored by design.
class Launcher : public platform::Launcher {
 public:
  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  void ExecuteEx(const platform::ShellExecuteRequest& request) override;
  void StartCommandLine(const std::string& program, const std::string& command_line,
                        int show) override;
  std::string SystemDirectory() override;
};

}  // namespace win32
