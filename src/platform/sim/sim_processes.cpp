#include "platform/sim/sim_processes.h"

#include <stdexcept>
#include <utility>

namespace sim {

platform::SnapshotHandle ProcessTable::CreateSnapshot(std::uint32_t flags, std::uint32_t) {
  const platform::MutexLock lock(mutex_);
  if (unavailable_) return platform::kNoSnapshot;
  const platform::SnapshotHandle handle = next_handle_++;
  snapshots_[handle] = Snapshot{names_, (flags & platform::kSnapProcess) != 0, 0, 0};
  return handle;
}

bool ProcessTable::Read(platform::SnapshotHandle handle, bool restart, std::string& exe_name) {
  const platform::MutexLock lock(mutex_);
  const auto it = snapshots_.find(handle);
  if (it == snapshots_.end() || !it->second.has_processes) return false;
  Snapshot& snapshot = it->second;
  if (restart) snapshot.next = 0;
  if (snapshot.next >= snapshot.names.size()) return false;
  if (fail_after_ && snapshot.reads >= *fail_after_) {
    throw std::runtime_error("process snapshot read failed after " +
                             std::to_string(snapshot.reads) + " entries");
  }
  ++snapshot.reads;
  exe_name = snapshot.names[snapshot.next++];
  return true;
}

bool ProcessTable::First(platform::SnapshotHandle snapshot, std::string& exe_name) {
  return Read(snapshot, true, exe_name);
}

bool ProcessTable::Next(platform::SnapshotHandle snapshot, std::string& exe_name) {
  return Read(snapshot, false, exe_name);
}

void ProcessTable::Close(platform::SnapshotHandle snapshot) {
  const platform::MutexLock lock(mutex_);
  snapshots_.erase(snapshot);
}

std::string ProcessTable::ImagePathOf(const std::string& exe_name) {
  const platform::MutexLock lock(mutex_);
  const auto it = images_.find(exe_name);
  return it == images_.end() ? std::string() : it->second;
}

void ProcessTable::SetProcessImage(const std::string& exe_name, const std::string& path) {
  const platform::MutexLock lock(mutex_);
  images_[exe_name] = path;
}

void ProcessTable::SetProcesses(std::vector<std::string> exe_names) {
  const platform::MutexLock lock(mutex_);
  names_ = std::move(exe_names);
}

void ProcessTable::SetUnavailable(bool unavailable) {
  const platform::MutexLock lock(mutex_);
  unavailable_ = unavailable;
}

void ProcessTable::FailAfter(std::size_t entries) {
  const platform::MutexLock lock(mutex_);
  fail_after_ = entries;
}

void ProcessTable::StopFailing() {
  const platform::MutexLock lock(mutex_);
  fail_after_.reset();
}

std::size_t ProcessTable::OpenSnapshotCount() const {
  const platform::MutexLock lock(mutex_);
  return snapshots_.size();
}

}  // namespace sim
