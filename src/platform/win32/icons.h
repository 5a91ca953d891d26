#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/icons.h"

namespace win32 {

// Icons read from files by the program's own bounded reader, made by the system from checked
// copies of their pictures. It keeps nothing between calls, so workers may share it.
class Icons : public platform::Icons {
 public:
  platform::IconId ExtractIcon(const std::string& path, int index, int size) override;
  platform::IconId LoadIconFile(const std::string& path, int size) override;
  platform::IconId GenericIcon(int size) override;
  void DestroyIcon(platform::IconId icon) noexcept override;
  bool IsFile(const std::string& path) override;
  bool IsRemoteDrive(char letter) override;
  std::string ProcessImagePath(const std::string& exe_name) override;
  std::optional<std::string> Environment(const std::string& name) override;
  std::string SystemDirectory() override;
  bool Is64BitSystem() override;

 private:
  static constexpr int kDrives = 26;
  // What each drive letter was found to be, once asked: a drive does not change kind during a
  // run, and asking costs an open of its root.
  enum class DriveKind : std::uint8_t { kUnknown, kLocal, kRemote };
  std::array<std::atomic<DriveKind>, kDrives> drives_{};
};

}  // namespace win32
