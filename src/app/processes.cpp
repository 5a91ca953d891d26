// The "Kill Process" submenu: one item per distinct running executable name.

#include <exception>
#include <memory>
#include <unordered_set>

#include "app/form1.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kExeExtension = ".EXE";

// Releases a process snapshot on every path.
class SnapshotGuard {
 public:
  SnapshotGuard(platform::ProcessSnapshots& snapshots, platform::SnapshotHandle handle)
      : snapshots_(snapshots), handle_(handle) {}
  ~SnapshotGuard() {
    if (handle_ != 0) snapshots_.Close(handle_);
  }
  SnapshotGuard(const SnapshotGuard&) = delete;
  SnapshotGuard& operator=(const SnapshotGuard&) = delete;
  platform::SnapshotHandle get() const { return handle_; }

 private:
  platform::ProcessSnapshots& snapshots_;
  platform::SnapshotHandle handle_;
};

bool IsExecutable(const std::string& name) {
  return text::UpperAscii(text::Extension(name)) == kExeExtension;
}

}  // namespace

void TForm1::RebuildProcessMenu() {
  LBP.Clear();
  Kill->Clear();
  try {
    ReadProcessTable();
  } catch (const std::exception&) {
    // The names read so far are listed.
  }
  RemoveDuplicateProcesses();
  LBP.SetSorted(true);
  for (const auto& line : LBP) Kill->Add(std::make_unique<TProcessMenuItem>(line.text));
}

void TForm1::ReadProcessTable() {
  platform::ProcessSnapshots& snapshots = Application().Platform().processes;
  SnapshotGuard snapshot(snapshots, snapshots.CreateSnapshot(platform::kSnapProcess, 0));
  std::string name;
  for (bool read = snapshots.First(snapshot.get(), name); read;
       read = snapshots.Next(snapshot.get(), name)) {
    if (IsExecutable(name)) LBP.Add(name);
  }
}

void TForm1::RemoveDuplicateProcesses() {
  // The first occurrence of each name stays; names differing only in letter case all stay.
  std::unordered_set<std::string> seen;
  LBP.RemoveIf([&seen](const auto& line) { return !seen.insert(line.text).second; });
}

}  // namespace app
