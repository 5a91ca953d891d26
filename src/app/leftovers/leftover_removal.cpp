#include "app/leftovers/leftover_removal.h"

#include "app/copies/copy_file_name.h"
#include "app/leftovers/machine_leftovers.h"
#include "app/orphans/machine_store.h"
#include "app/paths/file_names.h"

namespace app {
namespace {

constexpr std::string_view kItemsStore = "Quillon\\Tapwise Uninstaller\\Removed items";

std::vector<SetItemOutcome> RemoveIntoStore(platform::Platform& platform, const KeptRecord& kept,
                                            const std::string& store,
                                            const std::vector<LeftoverItem>& items,
                                            const std::vector<LeftoverItem>& offered_now,
                                            std::vector<std::string>& sets) {
  if (items.empty()) return {};
  platform::FileStore& files = platform.file_store;
  const auto folder = NewTimedFolder(files, store, files.Now());
  if (!folder) return NoneTaken(items, "the store of removed items could not be made");
  SetOutcome set =
      RemoveSet(platform, *folder, std::string(FileNameOf(kept.folder)), items, offered_now);
  if (!set.failure.empty()) return NoneTaken(items, set.failure);
  sets.push_back(set.folder);
  return std::move(set.items);
}

}  // namespace

std::string UserItemsStore(platform::FileStore& files) {
  return platform::InDirectory(files.LocalAppDataFolder(), kItemsStore);
}

std::string MachineItemsStore(platform::FileStore& files) {
  return platform::InDirectory(files.ProgramDataFolder(), kItemsStore);
}

bool TakenByMachineStep(platform::Platform& platform, const LeftoverItem& item) {
  return item.certain && item.kind != LeftoverKind::kFolder && item.kind != LeftoverKind::kKey &&
         IsMachineItem(platform, item);
}

LeftoverRemoval RemoveLeftovers(platform::Platform& platform, const KeptRecord& kept,
                                const std::vector<LeftoverItem>& checked,
                                const std::vector<LeftoverItem>& offered_now) {
  std::vector<LeftoverItem> user_items;
  std::vector<LeftoverItem> machine_items;
  for (const LeftoverItem& item : checked) {
    (IsMachineItem(platform, item) ? machine_items : user_items).push_back(item);
  }
  LeftoverRemoval removal;
  removal.items = RemoveIntoStore(platform, kept, UserItemsStore(platform.file_store), user_items,
                                  offered_now, removal.sets);
  if (machine_items.empty()) return removal;
  std::string machine_set;
  for (SetItemOutcome& outcome :
       RemoveThroughMachineStep(platform, kept, machine_items, machine_set)) {
    removal.items.push_back(std::move(outcome));
  }
  if (!machine_set.empty()) removal.sets.push_back(machine_set);
  return removal;
}

LeftoverRemoval RemoveMachineLeftoversHere(platform::Platform& platform, const KeptRecord& kept,
                                           const std::vector<LeftoverItem>& checked,
                                           const std::vector<LeftoverItem>& offered_now) {
  platform::FileStore& files = platform.file_store;
  const std::string store = MachineItemsStore(files);
  LeftoverRemoval removal;
  if (store.empty() || !PrepareSecuredStore(files, store, platform.launcher.OwnAccount())) {
    removal.items =
        NoneTaken(checked, "the store of removed items for everyone could not be made safe");
    return removal;
  }
  removal.items = RemoveIntoStore(platform, kept, store, checked, offered_now, removal.sets);
  return removal;
}

}  // namespace app
