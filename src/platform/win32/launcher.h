#pragma once

#include "platform/launcher.h"

namespace win32 {

// Starts programs through the shell and CreateProcessW.
class Launcher : public platform::Launcher {
 public:
  void Execute(platform::WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
  platform::StartError ExecuteEx(const platform::ShellExecuteRequest& request) override;
  platform::StartError StartProcess(const platform::ProcessStart& start) override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  std::string ErrorText(platform::StartError error, const std::string& path) override;
};

}  // namespace win32
