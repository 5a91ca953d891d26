#pragma once

// What a file or folder holds, taken before it is moved and again where it arrived: the names,
// kinds, sizes and each file's hash. Two equal inventories mean the same item, byte for byte.
// A link inside is listed as a link, never followed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_store.h"

namespace app {

// More than any program's folder a user would review: past them an item is not taken.
inline constexpr std::size_t kMostInventoryEntries = 100000;
inline constexpr int kMostInventoryDepth = 32;

struct InventoryEntry {
  std::string relative;  // below the item, "" for the item itself
  platform::PathKind kind = platform::PathKind::kFile;
  std::uint64_t size = 0;
  std::string hash = {};  // a file's
  bool operator==(const InventoryEntry&) const = default;
};

struct Inventory {
  std::vector<InventoryEntry> entries;  // sorted by relative path, parents before children
  std::uint64_t bytes = 0;
  bool holds_link = false;
  bool operator==(const Inventory&) const = default;
};

// kFileOk with the whole inventory; otherwise the first error (kFileErrorTooLarge past the bounds).
platform::FileError TakeInventory(platform::FileStore& files, const std::string& path,
                                  Inventory& inventory);

// One hash for the whole item, as the manifest keeps it: a file's own SHA-256, or a folder's
// over its inventory.
std::string InventoryHash(const Inventory& inventory);

// The path of one entry of an item's inventory, under the item at root.
std::string EntryPath(const std::string& root, const InventoryEntry& entry);

// Makes the inventoried item anew at to, from the item at from: its folders made, its files
// copied; a link is refused. The first error, after what was made is taken away again.
platform::FileError CopyInventory(platform::FileStore& files, const Inventory& inventory,
                                  const std::string& from, const std::string& to);

// Deletes the inventoried item at root, children before their folders; what is gone already is
// passed over. The first error.
platform::FileError DeleteInventory(platform::FileStore& files, const Inventory& inventory,
                                    const std::string& root);

// Whether the item at path is the inventoried one, byte for byte.
bool IsWhole(platform::FileStore& files, const std::string& path, const Inventory& expected);

}  // namespace app
