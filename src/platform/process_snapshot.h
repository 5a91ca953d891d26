#pragma once

// The process-table seam: the three snapshot calls, with executable names as UTF-8, and where a
// running program's file lies.
//
// Safe from any thread: threads may take snapshots at once, each walking its own.

#include <cstdint>
#include <string>

#include "platform/unique_handle.h"

namespace platform {

using SnapshotHandle = std::uintptr_t;

inline constexpr SnapshotHandle kNoSnapshot = 0;

inline constexpr std::uint32_t kSnapProcess = 2;  // TH32CS_SNAPPROCESS

class ProcessSnapshots {
 public:
  virtual ~ProcessSnapshots() = default;
  // kNoSnapshot when the snapshot functions are unavailable or the snapshot cannot be taken.
  virtual SnapshotHandle CreateSnapshot(std::uint32_t flags, std::uint32_t process_id) = 0;
  // Each gives true and the entry's executable file name when an entry was read.
  virtual bool First(SnapshotHandle snapshot, std::string& exe_name) = 0;
  virtual bool Next(SnapshotHandle snapshot, std::string& exe_name) = 0;
  virtual void Close(SnapshotHandle snapshot) = 0;
  // The full path of the image file of the first running process of that file name; empty when
  // there is none or the process will not say (a protected one).
  virtual std::string ImagePathOf(const std::string& exe_name) = 0;
};

// A snapshot taken through the seam.
using UniqueSnapshot =
    UniqueHandle<BoundTraits<ProcessSnapshots, kNoSnapshot, &ProcessSnapshots::Close>>;

}  // namespace platform
