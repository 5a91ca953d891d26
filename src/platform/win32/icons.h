#pragma once

#include "platform/icons.h"

namespace win32 {

// Icons through the shell's exact-size extraction and the system's icon loader. It keeps
// nothing between calls, so workers may share it.
class Icons : public platform::Icons {
 public:
  platform::IconId ExtractIcon(const std::string& path, int index, int size) override;
  platform::IconId LoadIconFile(const std::string& path, int size) override;
  platform::IconId GenericIcon(int size) override;
  void DestroyIcon(platform::IconId icon) noexcept override;
};

}  // namespace win32
