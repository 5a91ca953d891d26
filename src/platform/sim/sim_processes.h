#pragma once

// A process table behind the snapshot seam, with the image files of the processes a test
// names. A snapshot holds the names as they were when it was taken. Safe from any thread, seam and
// test side alike: one lock guards the table.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/mutex.h"
#include "platform/process_snapshot.h"

namespace sim {

class ProcessTable final : public platform::ProcessSnapshots {
 public:
  platform::SnapshotHandle CreateSnapshot(std::uint32_t flags, std::uint32_t process_id) override;
  bool First(platform::SnapshotHandle snapshot, std::string& exe_name) override;
  bool Next(platform::SnapshotHandle snapshot, std::string& exe_name) override;
  void Close(platform::SnapshotHandle snapshot) override;
  std::string ImagePathOf(const std::string& exe_name) override;

  // Executable names, reported in this order.
  void SetProcesses(std::vector<std::string> exe_names);
  // The first running process of that name has this image; empty: it will not say.
  void SetProcessImage(const std::string& exe_name, const std::string& path);
  // While set, no snapshot can be taken (CreateSnapshot gives kNoSnapshot).
  void SetUnavailable(bool unavailable);
  // The read after n entries of a snapshot throws std::runtime_error.
  void FailAfter(std::size_t entries);
  void StopFailing();
  std::size_t OpenSnapshotCount() const;

 private:
  struct Snapshot {
    std::vector<std::string> names;
    bool has_processes = false;
    std::size_t next = 0;
    std::size_t reads = 0;
  };
  bool Read(platform::SnapshotHandle snapshot, bool restart, std::string& exe_name)
      EXCLUDES(mutex_);

  mutable platform::Mutex mutex_;
  std::vector<std::string> names_ GUARDED_BY(mutex_);
  std::map<std::string, std::string> images_ GUARDED_BY(mutex_);
  bool unavailable_ GUARDED_BY(mutex_) = false;
  std::optional<std::size_t> fail_after_ GUARDED_BY(mutex_);
  std::map<platform::SnapshotHandle, Snapshot> snapshots_ GUARDED_BY(mutex_);
  platform::SnapshotHandle next_handle_ GUARDED_BY(mutex_) = 0x3001;
};

}  // namespace sim
