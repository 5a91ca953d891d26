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
  // In a job object that lets its programs break away and never ends them (tracked_run.cpp).
  platform::TrackedRun RunTracked(const platform::TrackedStart& start) override;
  void Pause(std::uint32_t ms) override;
  bool Elevated() override;
  platform::ElevatedRun RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                           std::uint32_t wait_ms) override;
  std::optional<int> InstallerProductState(const std::string& product_code) override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  std::string ErrorText(platform::StartError error, const std::string& path) override;
};

}  // namespace win32
