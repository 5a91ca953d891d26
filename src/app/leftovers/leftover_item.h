#pragma once

// One thing an uninstall left behind, as the finder offers it: what it is, where, and why.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/raw_registry.h"

namespace app {

enum class LeftoverKind : std::uint8_t {
  kRunValue,    // a value that starts a program at logon
  kAppPathKey,  // the key that lets Windows find a program by its file name
  kCommandKey,  // a file type's or class's command for one verb
  kClassKey,    // a file type or class whose every command named the program
  kShortcut,    // a .lnk file
  kFolder,
  kKey,
};

// Each kind's name, as scripts and the removal sets' manifests spell it.
inline constexpr std::array<std::string_view, 7> kLeftoverKindNames = {
    "run value", "app path", "command", "file type", "shortcut", "folder", "key"};
inline std::string_view KindName(LeftoverKind kind) {
  return kLeftoverKindNames[static_cast<std::size_t>(kind)];
}

struct LeftoverItem {
  LeftoverKind kind = LeftoverKind::kFolder;
  // A registry item: the root, and the view flag its key is reached through (none for HKCU).
  platform::RegKey root = platform::kNoKey;
  std::uint32_t view_access = 0;
  // The key's path below its root, or the file's or folder's full path.
  std::string place = {};
  std::string value_name = {};  // kRunValue: the value
  std::uint64_t size = 0;       // kFolder: the bytes of the files in it
  std::string reason = {};      // why it was found, as the review says it
  // Found by evidence that leaves no doubt: offered checked.
  bool certain = false;
  bool operator==(const LeftoverItem&) const = default;
};

// Where an item is, as scripts and the manifests spell it: a registry item's key after its root
// ("HKCU\", "HKLM32\", "HKLM64\"), or a file's or folder's path.
inline bool IsRegistryItem(const LeftoverItem& item) {
  return item.kind != LeftoverKind::kFolder && item.kind != LeftoverKind::kShortcut;
}
inline std::string ItemPlace(const LeftoverItem& item) {
  if (!IsRegistryItem(item)) return item.place;
  if (item.root == platform::kHkeyCurrentUser) return "HKCU\\" + item.place;
  return (item.view_access == platform::kKeyWow64_64Key ? "HKLM64\\" : "HKLM32\\") + item.place;
}

}  // namespace app
