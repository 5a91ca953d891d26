#include "app/leftovers/leftover_finder.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/leftovers/leftover_names.h"
#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/listed_evidence.h"
#include "app/leftovers/never_offered.h"
#include "app/leftovers/protected_system.h"
#include "app/leftovers/reference_finder.h"
#include "app/leftovers/shortcut_finder.h"
#include "app/paths/registered_path.h"
#include "platform/registry.h"

namespace app {
namespace {

constexpr std::string_view kSoftwareKey = "Software";
constexpr std::string_view kMachinePrefix = "HKLM";
// A folder's size is told from at most this many items, and this deep.
constexpr std::size_t kMostItemsSized = 100000;
constexpr int kDeepestSized = 64;

bool ReachedThroughLink(platform::FileStore& files, const std::string& path) {
  std::string walked = path.substr(0, 2);  // "C:"
  for (const std::string& part : PathParts(path)) {
    walked += "\\" + part;
    if (files.KindOf(walked) == platform::PathKind::kReparsePoint) return true;
  }
  return false;
}

// The bytes of the files in it, links not followed.
std::uint64_t FolderSize(platform::FileStore& files, const std::string& folder, int depth,
                         std::size_t& seen) {
  std::vector<platform::FolderItem> items;
  if (depth > kDeepestSized ||
      files.ListFolder(folder, kMostItemsSized, items) != platform::kFileOk) {
    return 0;
  }
  std::uint64_t size = 0;
  for (const platform::FolderItem& item : items) {
    if (++seen > kMostItemsSized) return size;
    if (item.kind == platform::PathKind::kFile) size += item.size;
    if (item.kind == platform::PathKind::kFolder) {
      size += FolderSize(files, platform::InDirectory(folder, item.name), depth + 1, seen);
    }
  }
  return size;
}

class LeftoverFinder {
 public:
  LeftoverFinder(platform::Platform& platform, const EvidenceRecord& record,
                 const ListedEvidence& listed)
      : platform_(platform),
        record_(record),
        listed_(listed),
        protected_(ProtectedFoldersOf(platform, listed_)),
        trusted_(!record.entry_id.starts_with(kMachinePrefix)) {}

  std::vector<LeftoverItem> Find() {
    const std::vector<std::string> folders = RecordFolders();
    const PathSystem paths = PathSystemOf(platform_);
    for (LeftoverItem& item : FindReferences({platform_.registry, paths}, folders)) {
      if (NeverOfferedKey(item.place, listed_.keys).empty()) items_.push_back(std::move(item));
    }
    for (LeftoverItem& item : FindShortcuts(platform_, folders)) items_.push_back(std::move(item));
    // An entry that named no local folder of its own gives nothing to go on but references.
    if (!ComparablePath(platform_, record_.install_location)) return std::move(items_);
    for (const std::string& folder : folders) {
      AddFolder(folder, trusted_, "the program's own folder, named by its entry");
    }
    FindNamed();
    return std::move(items_);
  }

 private:
  // The folders the record names that may be offered, or that references may lead into.
  std::vector<std::string> RecordFolders() {
    std::vector<std::string> folders;
    for (std::string& folder : FoldersOf(platform_, record_)) {
      if (!NeverOfferedFolder(protected_, folder).empty()) continue;
      const auto same = [&](const std::string& known) { return SamePath(known, folder); };
      if (std::none_of(folders.begin(), folders.end(), same)) folders.push_back(std::move(folder));
    }
    return folders;
  }

  bool Offered(const std::string& place) const {
    return std::any_of(items_.begin(), items_.end(),
                       [&](const LeftoverItem& item) { return SamePath(item.place, place); });
  }

  void AddFolder(const std::string& folder, bool certain, std::string reason) {
    platform::FileStore& files = platform_.file_store;
    if (Offered(folder) || files.KindOf(folder) != platform::PathKind::kFolder) return;
    if (!NeverOfferedFolder(protected_, folder).empty() || ReachedThroughLink(files, folder))
      return;
    LeftoverItem item{.kind = LeftoverKind::kFolder,
                      .place = folder,
                      .reason = std::move(reason),
                      .certain = certain};
    std::size_t seen = 0;
    item.size = FolderSize(files, folder, 0, seen);
    items_.push_back(std::move(item));
  }

  void AddKey(platform::RegKey root, std::uint32_t view_access, const std::string& path,
              const std::string& name) {
    if (!NeverOfferedKey(path, listed_.keys).empty()) return;
    platform::TRegistry reader(platform_.registry, platform::kKeyRead | view_access);
    reader.SelectRoot(root);
    if (!reader.OpenPath(path, platform::IfMissing::kFail)) return;
    const auto same = [&](const LeftoverItem& item) {
      return item.root == root && item.kind == LeftoverKind::kKey && SamePath(item.place, path);
    };
    // The user's keys and, on a system of one view, the machine's are one key in both views.
    if (std::any_of(items_.begin(), items_.end(), same) && view_access != 0) return;
    items_.push_back(LeftoverItem{.kind = LeftoverKind::kKey,
                                  .root = root,
                                  .view_access = view_access,
                                  .place = path,
                                  .reason = "named exactly " + name,
                                  .certain = false});
  }

  // Folders and keys named exactly as the program, and as no program listed now.
  void FindNamed() {
    const std::vector<std::string> names =
        WithoutShared(NamesOf(platform_, record_), listed_.names);
    std::vector<std::string> data_folders;
    for (const auto& folder : {platform_.launcher.EnvironmentVariable("APPDATA"),
                               std::optional(platform_.file_store.LocalAppDataFolder()),
                               std::optional(platform_.file_store.ProgramDataFolder())}) {
      if (folder) {
        if (const auto normal = NormalPath(*folder)) data_folders.push_back(*normal);
      }
    }
    for (const std::string& name : names) {
      for (const std::string& data : data_folders) {
        AddFolder(platform::InDirectory(data, name), false, "named exactly " + name);
      }
      const std::string key = std::string(kSoftwareKey) + "\\" + name;
      AddKey(platform::kHkeyCurrentUser, 0, key, name);
      AddKey(platform::kHkeyLocalMachine, 0, key, name);
      if (platform_.registry.HasSeparate64BitView()) {
        AddKey(platform::kHkeyLocalMachine, platform::kKeyWow64_64Key, key, name);
      }
    }
  }

  platform::Platform& platform_;
  const EvidenceRecord& record_;
  const ListedEvidence& listed_;
  ProtectedFolders protected_;
  bool trusted_;
  std::vector<LeftoverItem> items_;
};

}  // namespace

std::vector<LeftoverItem> FindLeftovers(platform::Platform& platform, const EvidenceRecord& record,
                                        const ListedEvidence& listed) {
  return LeftoverFinder(platform, record, listed).Find();
}

std::vector<LeftoverItem> FindLeftovers(platform::Platform& platform,
                                        const EvidenceRecord& record) {
  return FindLeftovers(platform, record, ReadListedEvidence(platform));
}

}  // namespace app
