#include "app/leftovers/removal_set.h"

#include "app/leftovers/file_item_removal.h"
#include "app/leftovers/item_inventory.h"
#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/protected_system.h"
#include "app/leftovers/registry_item_removal.h"
#include "app/leftovers/removal_check.h"
#include "app/leftovers/removal_manifest.h"
#include "app/paths/file_names.h"

namespace app {
namespace {

constexpr std::string_view kManifestNotWritten =
    "the set's manifest could not be written, so nothing more was moved";

struct PlannedItem {
  SetItemOutcome outcome;
  Inventory before = {};
};

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

class SetRemoval {
 public:
  SetRemoval(platform::Platform& platform, const std::string& folder)
      : platform_(platform),
        folder_(folder),
        manifest_path_(platform::InDirectory(folder, kManifestFileName)) {}

  // Each item's place in the set, and its inventory; an item that changed is skipped here.
  void Plan(const std::vector<LeftoverItem>& checked, const std::vector<LeftoverItem>& offered) {
    for (const LeftoverItem& item : checked) {
      PlannedItem planned{.outcome = {.item = item}};
      const std::string number = std::to_string(planned_.size() + 1);
      const ItemNow now = CheckAgain(item, offered);
      if (now != ItemNow::kAsFound) {
        planned.outcome.reason = SkippedBecause(now);
      } else if (IsRegistryItem(item)) {
        planned.outcome.stored = platform::InDirectory(folder_, number + ".reg");
      } else {
        planned.outcome.stored =
            platform::InDirectory(platform::InDirectory(folder_, number), FileNameOf(item.place));
        if (TakeInventory(platform_.file_store, item.place, planned.before) != platform::kFileOk) {
          planned.outcome.reason = "it could not be read whole";
          planned.outcome.stored.clear();
        }
      }
      planned_.push_back(std::move(planned));
    }
  }

  bool WriteHead(const std::string& record_name) {
    RemovalManifest manifest{.record = record_name, .time = platform_.file_store.Now()};
    for (const PlannedItem& planned : planned_) {
      const LeftoverItem& item = planned.outcome.item;
      manifest.items.push_back(ManifestItem{
          .kind = item.kind,
          .original = ItemPlace(item),
          .value = item.value_name,
          .stored = planned.outcome.stored,
          .size = planned.before.bytes,
          .hash = IsRegistryItem(item) ? std::string{} : InventoryHash(planned.before)});
    }
    return platform_.file_store.WriteNewFile(manifest_path_, Bytes(ManifestHead(manifest))) ==
           platform::kFileOk;
  }

  std::vector<SetItemOutcome> Run() {
    for (std::size_t index = 0; index < planned_.size(); ++index) {
      SetItemOutcome& outcome = planned_[index].outcome;
      if (outcome.reason.empty() && manifest_whole_) Remove(index);
      if (!outcome.removed && outcome.reason.empty()) outcome.reason = kManifestNotWritten;
      if (!outcome.removed) Append(index, ManifestStep::kSkipped, outcome.reason);
    }
    std::vector<SetItemOutcome> outcomes;
    for (PlannedItem& planned : planned_) outcomes.push_back(std::move(planned.outcome));
    return outcomes;
  }

 private:
  void Append(std::size_t index, ManifestStep step, const std::string& detail = {}) {
    if (!manifest_whole_) return;
    const std::string line =
        ManifestStepText(ManifestStepLine{.item = index, .step = step, .detail = detail});
    manifest_whole_ = platform_.file_store.AppendFlushed(manifest_path_, line) == platform::kFileOk;
  }

  void Remove(std::size_t index) {
    PlannedItem& planned = planned_[index];
    SetItemOutcome& outcome = planned.outcome;
    const CompletedStep completed = [&](ManifestStep step) { Append(index, step); };
    ItemRemoval removal;
    if (IsRegistryItem(outcome.item)) {
      removal = RemoveRegistryItem(platform_, outcome.item, outcome.stored, completed);
    } else if (const platform::FileError made =
                   platform_.file_store.CreateFolders(std::string(FolderOf(outcome.stored)));
               made != platform::kFileOk) {
      removal.reason = "its place in the store could not be made";
    } else {
      removal =
          RemoveFileItem(platform_, outcome.item.place, outcome.stored, planned.before, completed);
    }
    outcome.removed = removal.removed;
    outcome.reason = removal.reason;
    if (removal.copy_path.empty()) outcome.stored.clear();
  }

  platform::Platform& platform_;
  const std::string& folder_;
  const std::string manifest_path_;
  std::vector<PlannedItem> planned_;
  bool manifest_whole_ = true;
};

}  // namespace

SetOutcome RemoveSet(platform::Platform& platform, const std::string& folder,
                     const std::string& record_name, const std::vector<LeftoverItem>& checked,
                     const std::vector<LeftoverItem>& offered_now) {
  SetRemoval removal(platform, folder);
  removal.Plan(checked, offered_now);
  if (!removal.WriteHead(record_name)) {
    platform.file_store.RemoveEmptyFolder(folder);
    return SetOutcome{.failure = "the store of removed items could not be written"};
  }
  return SetOutcome{.folder = folder, .items = removal.Run()};
}

std::optional<RemovalManifest> ReadSetManifest(platform::FileStore& files,
                                               const std::string& set_folder) {
  std::vector<std::uint8_t> bytes;
  if (files.ReadWholeFile(platform::InDirectory(set_folder, kManifestFileName), kMostManifestBytes,
                          bytes) != platform::kFileOk) {
    return std::nullopt;
  }
  return ReadManifest(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool IsMachineItem(platform::Platform& platform, const LeftoverItem& item) {
  if (IsRegistryItem(item)) return item.root != platform::kHkeyCurrentUser;
  std::vector<std::string> machine_folders = ProgramFilesRoots(platform.launcher);
  machine_folders.push_back(platform.file_store.ProgramDataFolder());
  for (const std::string& folder : machine_folders) {
    const auto normal = NormalPath(folder);
    if (normal && IsSameOrInside(item.place, *normal)) return true;
  }
  return false;
}

}  // namespace app
