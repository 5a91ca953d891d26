#include "app/leftovers/set_restore.h"

#include <algorithm>
#include <array>

#include "app/copies/reg_file_reader.h"
#include "app/entry/entry_key.h"
#include "app/leftovers/item_inventory.h"
#include "app/leftovers/key_write_back.h"
#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/removal_set.h"
#include "app/paths/file_names.h"

namespace app {
namespace {

// A registry item's place as the manifest spells it (ItemPlace), taken apart.
struct KeyPlace {
  platform::RegKey root = platform::kNoKey;
  std::uint32_t view_access = 0;
  std::string path;
};

std::optional<KeyPlace> KeyPlaceOf(std::string_view original) {
  constexpr std::array<std::pair<std::string_view, std::uint32_t>, 3> kRoots{{
      {"HKCU\\", 0},
      {"HKLM32\\", platform::kKeyWow64_32Key},
      {"HKLM64\\", platform::kKeyWow64_64Key},
  }};
  for (const auto& [prefix, view] : kRoots) {
    if (!original.starts_with(prefix) || original.size() == prefix.size()) continue;
    const platform::RegKey root =
        view == 0 ? platform::kHkeyCurrentUser : platform::kHkeyLocalMachine;
    return KeyPlace{root, view, std::string(original.substr(prefix.size()))};
  }
  return std::nullopt;
}

bool IsRegistryKind(LeftoverKind kind) {
  return kind != LeftoverKind::kFolder && kind != LeftoverKind::kShortcut;
}

// Whether the item's place lies in the set's folder: a manifest anyone could have changed
// must not lead the restore to take a file from elsewhere.
bool StoredInSet(const std::string& stored, const std::string& set_folder) {
  const auto normal = NormalPath(stored);
  const auto folder = NormalPath(set_folder);
  return normal && folder && *normal == stored && IsInside(*normal, *folder);
}

class SetRestorer {
 public:
  SetRestorer(platform::Platform& platform, const std::string& set_folder,
              const RemovalManifest& manifest)
      : platform_(platform), set_folder_(set_folder), manifest_(manifest) {}

  RestoredItem Restore(std::size_t index) {
    const ManifestItem& item = manifest_.items[index];
    if (HasStep(index, ManifestStep::kRestored)) return {item, ItemBack::kAlreadyBack};
    if (!item.stored.empty() && !StoredInSet(item.stored, set_folder_)) {
      return {item, ItemBack::kFailed, "its stored place lies outside its set"};
    }
    RestoredItem restored =
        IsRegistryKind(item.kind) ? RestoreRegistryItem(item) : RestoreFileItem(item);
    if (restored.back == ItemBack::kRestored || restored.back == ItemBack::kAlreadyBack) {
      const std::string line = ManifestStepText({.item = index, .step = ManifestStep::kRestored});
      platform_.file_store.AppendFlushed(platform::InDirectory(set_folder_, kManifestFileName),
                                         line);
    }
    return restored;
  }

 private:
  bool HasStep(std::size_t index, ManifestStep step) const {
    return std::any_of(
        manifest_.steps.begin(), manifest_.steps.end(),
        [&](const ManifestStepLine& line) { return line.item == index && line.step == step; });
  }

  RestoredItem RestoreRegistryItem(const ManifestItem& item) {
    const std::optional<KeyPlace> place = KeyPlaceOf(item.original);
    if (!place) return {item, ItemBack::kFailed, "its place is not a registry key"};
    platform::FileStore& files = platform_.file_store;
    std::vector<std::uint8_t> bytes;
    if (item.stored.empty() ||
        files.ReadWholeFile(item.stored, kMaxCopyBytes, bytes) != platform::kFileOk) {
      // Never copied: it was never taken.
      return {item, ItemBack::kAlreadyBack};
    }
    const RegFileRead copy = ReadRegFile(bytes);
    platform::RawRegistry& registry = platform_.registry;
    const std::string path = RegFileKeyPath(place->root, place->view_access,
                                            registry.HasSeparate64BitView(), place->path);
    if (!copy.ok() || copy.path != path) {
      return {item, ItemBack::kFailed, "its copy is not the one the set names"};
    }
    const bool value_alone = item.kind == LeftoverKind::kRunValue;
    if (value_alone && copy.key.values.size() != 1) {
      return {item, ItemBack::kFailed, "its copy is not the one the set names"};
    }
    const WriteBack written =
        value_alone ? WriteNewValue(registry, place->root, place->view_access, place->path,
                                    copy.key.values.front())
                    : WriteNewKey(registry, place->root, place->view_access, place->path, copy.key);
    return RegistryOutcome(item, written, value_alone, *place, copy.key);
  }

  // A crash between the copy and the delete leaves the item in its place as copied: it is back.
  RestoredItem RegistryOutcome(const ManifestItem& item, WriteBack written, bool value_alone,
                               const KeyPlace& place, const CopiedKey& copy) {
    if (written == WriteBack::kWritten) return {item, ItemBack::kRestored};
    if (written == WriteBack::kFailed) return {item, ItemBack::kFailed, "it could not be written"};
    if (!value_alone && IsAsCopied(place, copy)) return {item, ItemBack::kAlreadyBack};
    return {item, ItemBack::kInTheWay, "something else is in its place now"};
  }

  bool IsAsCopied(const KeyPlace& place, const CopiedKey& copy) {
    CopiedKey now;
    if (ReadKeyCopy(platform_.registry, place.root, place.path,
                    platform::kKeyRead | place.view_access, now) != platform::kRegOk) {
      return false;
    }
    now.name = copy.name;
    return now == copy;
  }

  RestoredItem RestoreFileItem(const ManifestItem& item) {
    platform::FileStore& files = platform_.file_store;
    const bool in_store =
        !item.stored.empty() && files.KindOf(item.stored) != platform::PathKind::kMissing;
    const bool in_place = files.KindOf(item.original) != platform::PathKind::kMissing;
    if (!in_store) {
      if (in_place) return {item, ItemBack::kAlreadyBack};
      return {item, ItemBack::kFailed, "it is neither in its place nor in the store"};
    }
    Inventory stored;
    if (TakeInventory(files, item.stored, stored) != platform::kFileOk ||
        InventoryHash(stored) != item.hash) {
      return {item, ItemBack::kFailed, "what the store holds is not what was taken"};
    }
    if (in_place) return FinishCopy(item, stored);
    if (files.CreateFolders(std::string(FolderOf(item.original))) != platform::kFileOk) {
      return {item, ItemBack::kFailed, "its folder could not be made again"};
    }
    return MoveBack(item, stored);
  }

  // A copy to another drive cut short before the original went: the original, whole, is back,
  // and the copy goes.
  RestoredItem FinishCopy(const ManifestItem& item, const Inventory& stored) {
    if (!IsWhole(platform_.file_store, item.original, stored)) {
      return {item, ItemBack::kInTheWay, "something else is in its place now"};
    }
    DeleteInventory(platform_.file_store, stored, item.stored);
    return {item, ItemBack::kAlreadyBack};
  }

  RestoredItem MoveBack(const ManifestItem& item, const Inventory& stored) {
    platform::FileStore& files = platform_.file_store;
    const platform::FileError moved = files.MoveItem(item.stored, item.original);
    if (moved == platform::kFileErrorNotSameDevice) return CopyBack(item, stored);
    if (moved != platform::kFileOk) return {item, ItemBack::kFailed, "it could not be moved back"};
    if (IsWhole(files, item.original, stored)) return {item, ItemBack::kRestored};
    files.MoveItem(item.original, item.stored);
    return {item, ItemBack::kFailed, "it changed while it was being moved back"};
  }

  RestoredItem CopyBack(const ManifestItem& item, const Inventory& stored) {
    platform::FileStore& files = platform_.file_store;
    if (CopyInventory(files, stored, item.stored, item.original) != platform::kFileOk) {
      return {item, ItemBack::kFailed, "it could not be copied back"};
    }
    if (!IsWhole(files, item.original, stored)) {
      DeleteInventory(files, stored, item.original);
      return {item, ItemBack::kFailed, "its copy did not match what was taken"};
    }
    DeleteInventory(files, stored, item.stored);
    return {item, ItemBack::kRestored};
  }

  platform::Platform& platform_;
  const std::string& set_folder_;
  const RemovalManifest& manifest_;
};

}  // namespace

SetRestore RestoreSet(platform::Platform& platform, const std::string& set_folder) {
  const std::optional<RemovalManifest> manifest = ReadSetManifest(platform.file_store, set_folder);
  if (!manifest) return SetRestore{.failure = "its manifest could not be read"};
  SetRestorer restorer(platform, set_folder, *manifest);
  SetRestore restore;
  for (std::size_t index = 0; index < manifest->items.size(); ++index) {
    restore.items.push_back(restorer.Restore(index));
  }
  return restore;
}

bool AllBack(const SetRestore& restore) {
  return restore.failure.empty() &&
         std::all_of(restore.items.begin(), restore.items.end(), [](const RestoredItem& item) {
           return item.back == ItemBack::kRestored || item.back == ItemBack::kAlreadyBack;
         });
}

}  // namespace app
