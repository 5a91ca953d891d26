#pragma once

#include "platform/process_snapshot.h"

namespace win32 {

// The Toolhelp process snapshot, its functions found by name in the already loaded kernel32.dll
// at first use. Safe from any thread: each snapshot is a handle of its own.
class ProcessSnapshots : public platform::ProcessSnapshots {
 public:
  platform::SnapshotHandle CreateSnapshot(std::uint32_t flags, std::uint32_t process_id) override;
  bool First(platform::SnapshotHandle snapshot, std::string& exe_name) override;
  bool Next(platform::SnapshotHandle snapshot, std::string& exe_name) override;
  void Close(platform::SnapshotHandle snapshot) override;
  std::string ImagePathOf(const std::string& exe_name) override;
};

}  // namespace win32
