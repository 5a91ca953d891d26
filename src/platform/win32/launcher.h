#pragma once

#include "platform/launcher.h"

namespace win32 {

// Starts programs with CreateProcessW and through the shell (start.cpp), and answers what
// choosing them needs to know of the system.
class Launcher : public platform::Launcher {
 public:
  platform::Started Start(const platform::StartSpec& asked) override;
  void Pause(std::uint32_t ms) override;
  bool Elevated() override;
  std::string OwnProgramFile() override;
  std::string OwnAccount() override;
  std::optional<int> InstallerProductState(const std::string& product_code) override;
  std::optional<std::vector<std::string>> InstallerProducts() override;
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  std::string ErrorText(platform::StartError error, const std::string& path) override;
};

}  // namespace win32
