#include "app/leftovers/item_inventory.h"

#include <algorithm>

#include "platform/launcher.h"
#include "platform/sha256.h"
#include "platform/text.h"

namespace app {
namespace {

class InventoryTaker {
 public:
  InventoryTaker(platform::FileStore& files, Inventory& inventory)
      : files_(files), inventory_(inventory) {}

  platform::FileError Take(const std::string& path) {
    const platform::PathKind kind = files_.KindOf(path);
    if (kind == platform::PathKind::kMissing) return platform::kFileErrorNotFound;
    if (kind == platform::PathKind::kNotKnown) return platform::kFileErrorAccessDenied;
    if (const platform::FileError error = Add(path, "", kind, SizeOfFile(path, kind));
        error != platform::kFileOk) {
      return error;
    }
    if (kind == platform::PathKind::kFolder) {
      if (const platform::FileError error = AddFolder(path, "", 1); error != platform::kFileOk) {
        return error;
      }
    }
    std::sort(
        inventory_.entries.begin(), inventory_.entries.end(),
        [](const InventoryEntry& a, const InventoryEntry& b) { return a.relative < b.relative; });
    return platform::kFileOk;
  }

 private:
  // A file's size as its folder lists it: the only place the seams tell it.
  std::uint64_t SizeOfFile(const std::string& path, platform::PathKind kind) {
    if (kind != platform::PathKind::kFile) return 0;
    const std::size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) return 0;
    std::vector<platform::FolderItem> items;
    files_.ListFolder(path.substr(0, cut), kMostInventoryEntries, items);
    const std::string name = path.substr(cut + 1);
    for (const platform::FolderItem& item : items) {
      if (text::EqualsIgnoringAsciiCase(item.name, name)) return item.size;
    }
    return 0;
  }

  platform::FileError Add(const std::string& path, std::string relative, platform::PathKind kind,
                          std::uint64_t size) {
    if (inventory_.entries.size() >= kMostInventoryEntries) return platform::kFileErrorTooLarge;
    InventoryEntry entry{.relative = std::move(relative), .kind = kind, .size = size};
    if (kind == platform::PathKind::kReparsePoint) inventory_.holds_link = true;
    if (kind == platform::PathKind::kFile) {
      if (const platform::FileError error = files_.HashFile(path, entry.hash);
          error != platform::kFileOk) {
        return error;
      }
      inventory_.bytes += size;
    }
    inventory_.entries.push_back(std::move(entry));
    return platform::kFileOk;
  }

  platform::FileError AddFolder(const std::string& path, const std::string& relative, int depth) {
    if (depth > kMostInventoryDepth) return platform::kFileErrorTooLarge;
    std::vector<platform::FolderItem> items;
    const std::size_t room = kMostInventoryEntries - inventory_.entries.size();
    if (const platform::FileError error = files_.ListFolder(path, room, items);
        error != platform::kFileOk) {
      return error;
    }
    for (const platform::FolderItem& item : items) {
      const std::string inner = platform::InDirectory(path, item.name);
      const std::string inner_relative = relative.empty() ? item.name : relative + "\\" + item.name;
      if (const platform::FileError error = Add(inner, inner_relative, item.kind, item.size);
          error != platform::kFileOk) {
        return error;
      }
      if (item.kind != platform::PathKind::kFolder) continue;
      if (const platform::FileError error = AddFolder(inner, inner_relative, depth + 1);
          error != platform::kFileOk) {
        return error;
      }
    }
    return platform::kFileOk;
  }

  platform::FileStore& files_;
  Inventory& inventory_;
};

}  // namespace

platform::FileError TakeInventory(platform::FileStore& files, const std::string& path,
                                  Inventory& inventory) {
  inventory = {};
  return InventoryTaker(files, inventory).Take(path);
}

std::string InventoryHash(const Inventory& inventory) {
  // A file alone is known by its own hash, which any tool can check.
  if (inventory.entries.size() == 1 && inventory.entries[0].kind == platform::PathKind::kFile) {
    return inventory.entries[0].hash;
  }
  platform::Sha256 hash;
  for (const InventoryEntry& entry : inventory.entries) {
    hash.Add(entry.relative + '\t' + std::to_string(static_cast<int>(entry.kind)) + '\t' +
             std::to_string(entry.size) + '\t' + entry.hash + '\n');
  }
  return hash.FinishHex();
}

std::string EntryPath(const std::string& root, const InventoryEntry& entry) {
  return entry.relative.empty() ? root : root + "\\" + entry.relative;
}

platform::FileError CopyInventory(platform::FileStore& files, const Inventory& inventory,
                                  const std::string& from, const std::string& to) {
  for (const InventoryEntry& entry : inventory.entries) {
    platform::FileError copied = platform::kFileErrorStoppedOnLink;
    if (entry.kind == platform::PathKind::kFolder) {
      copied = files.CreateFolders(EntryPath(to, entry));
    } else if (entry.kind == platform::PathKind::kFile) {
      copied = files.CopyFileBytes(EntryPath(from, entry), EntryPath(to, entry));
    }
    if (copied != platform::kFileOk) {
      DeleteInventory(files, inventory, to);
      return copied;
    }
  }
  return platform::kFileOk;
}

platform::FileError DeleteInventory(platform::FileStore& files, const Inventory& inventory,
                                    const std::string& root) {
  // A child's path sorts after its folder's.
  for (auto entry = inventory.entries.rbegin(); entry != inventory.entries.rend(); ++entry) {
    const platform::FileError deleted = files.DeleteItem(EntryPath(root, *entry));
    if (deleted != platform::kFileOk && deleted != platform::kFileErrorNotFound) return deleted;
  }
  return platform::kFileOk;
}

bool IsWhole(platform::FileStore& files, const std::string& path, const Inventory& expected) {
  Inventory now;
  return TakeInventory(files, path, now) == platform::kFileOk && now == expected;
}

}  // namespace app
