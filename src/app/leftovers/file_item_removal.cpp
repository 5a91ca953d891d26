#include "app/leftovers/file_item_removal.h"

#include <algorithm>

namespace app {
namespace {

ItemRemoval NotRemoved(std::string reason, std::string kept_at = {}) {
  return ItemRemoval{.copy_path = std::move(kept_at), .reason = std::move(reason)};
}

class FileItemRemoval {
 public:
  FileItemRemoval(platform::Platform& platform, const std::string& place, const std::string& stored,
                  const Inventory& before, const CompletedStep& completed)
      : files_(platform.file_store),
        launcher_(platform.launcher),
        place_(place),
        stored_(stored),
        before_(before),
        completed_(completed) {}

  ItemRemoval Remove() {
    const platform::FileError moved = files_.MoveItem(place_, stored_);
    if (moved == platform::kFileErrorNotSameDevice) return CopyAcross();
    if (moved != platform::kFileOk) return Failed("it could not be moved", moved);
    completed_(ManifestStep::kMoved);
    if (IsWhole(files_, stored_, before_)) return Removed();
    // Changed on the way, by someone else: it goes back rather than being kept unlike itself.
    if (files_.MoveItem(stored_, place_) == platform::kFileOk) {
      return NotRemoved("it changed while it was being moved");
    }
    return NotRemoved("it changed while it was being moved; it is kept in the store as it is",
                      stored_);
  }

 private:
  ItemRemoval Removed() {
    completed_(ManifestStep::kVerified);
    return ItemRemoval{.removed = true, .copy_path = stored_};
  }

  ItemRemoval Failed(std::string_view what, platform::FileError error) {
    std::string reason(what);
    const std::string words = launcher_.ErrorText(error, place_);
    if (!words.empty()) reason += ": " + words;
    return NotRemoved(std::move(reason));
  }

  std::string RefusedAcross() {
    if (before_.bytes > kMostCopiedBytes) {
      return "it is larger than 1 GB and lies on another drive than the store";
    }
    if (before_.holds_link) return "it holds a link, which cannot be copied to another drive";
    for (const InventoryEntry& entry : before_.entries) {
      if (entry.kind != platform::PathKind::kFile) continue;
      bool has = true;
      if (files_.HasAlternateStreams(EntryPath(place_, entry), has) != platform::kFileOk || has) {
        return "it may hold alternate streams, which a copy to another drive would lose";
      }
    }
    return {};
  }

  ItemRemoval CopyAcross() {
    if (std::string refused = RefusedAcross(); !refused.empty()) return NotRemoved(refused);
    if (const platform::FileError copied = CopyInventory(files_, before_, place_, stored_);
        copied != platform::kFileOk) {
      return Failed("it could not be copied to the store", copied);
    }
    completed_(ManifestStep::kCopied);
    // The original too: a file changed after it was hashed would otherwise be lost.
    if (!IsWhole(files_, stored_, before_) || !IsWhole(files_, place_, before_)) {
      DeleteCopy();
      return NotRemoved("its copy in the store did not match it");
    }
    completed_(ManifestStep::kVerified);
    return DeleteOriginal();
  }

  void DeleteCopy() { DeleteInventory(files_, before_, stored_); }

  ItemRemoval DeleteOriginal() {
    const platform::FileError deleted = DeleteInventory(files_, before_, place_);
    if (deleted != platform::kFileOk) {
      ItemRemoval removal =
          Failed("it was removed in part; all of it is kept in the store", deleted);
      removal.copy_path = stored_;
      return removal;
    }
    completed_(ManifestStep::kDeleted);
    return ItemRemoval{.removed = true, .copy_path = stored_};
  }

  platform::FileStore& files_;
  platform::Launcher& launcher_;
  const std::string& place_;
  const std::string& stored_;
  const Inventory& before_;
  const CompletedStep& completed_;
};

}  // namespace

ItemRemoval RemoveFileItem(platform::Platform& platform, const std::string& place,
                           const std::string& stored, const Inventory& before,
                           const CompletedStep& completed) {
  return FileItemRemoval(platform, place, stored, before, completed).Remove();
}

}  // namespace app
