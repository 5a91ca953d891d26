#pragma once

// An uninstall entry's own key, found again after the scan in the view it was listed from: to
// tell whether it is still there, to copy or remove it, and to read what the scan left unread
// because the list did not need it.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/entry/program_entry.h"
#include "platform/raw_registry.h"
#include "platform/registry.h"

namespace app {

// Where the key is: its root, the view flag an access to it needs, and its path from the root.
struct EntryKeyPlace {
  platform::RegKey root = platform::kHkeyCurrentUser;
  std::uint32_t view_access = 0;
  std::string path;
};
// The uninstall key itself, in the view: the key every entry of that view lies under.
EntryKeyPlace UninstallKeyPlace(EntryView view);
// The entry's own key under it.
EntryKeyPlace KeyPlaceOf(EntryView view, std::string_view key_name);
inline EntryKeyPlace KeyPlaceOf(const ProgramEntry& program) {
  return KeyPlaceOf(program.view, program.key_name);
}

// The name a per-user entry's key has while its removal is under way: set aside, so that nothing
// written under its own name meanwhile is deleted with it. Such a key is no program of the list.
inline constexpr std::string_view kSetAsidePrefix = "~Tapwise removing~ ";
inline std::string SetAsideName(std::string_view key_name) {
  return std::string(kSetAsidePrefix) + std::string(key_name);
}
inline bool IsSetAsideName(std::string_view key_name) {
  return key_name.size() > kSetAsidePrefix.size() && key_name.starts_with(kSetAsidePrefix);
}

// A key as a .reg file names it, root spelled out: one reached through the 32-bit view of 64-bit
// Windows is named under WOW6432Node, so that importing the file restores the same view.
std::string RegFileKeyPath(platform::RegKey root, std::uint32_t view_access,
                           bool separate_64bit_view, std::string_view path);

// The entry's key as a .reg file names it, root spelled out. A 32-bit-view entry on 64-bit
// Windows is named under WOW6432Node, so that importing the file restores the same view.
std::string EntryKeyPath(EntryView view, bool separate_64bit_view, std::string_view key_name);

// The key opened for reading; its values are read as TRegistry reads them.
class EntryKey {
 public:
  EntryKey(platform::RawRegistry& raw, const ProgramEntry& program)
      : EntryKey(raw, program.key_name, KeyPlaceOf(program)) {}
  // False when the key is gone, or cannot be opened, or the entry names none.
  bool IsOpen() const { return open_; }
  platform::TRegistry& Values() { return registry_; }

 private:
  EntryKey(platform::RawRegistry& raw, const std::string& key_name, const EntryKeyPlace& place);

  platform::TRegistry registry_;
  bool open_ = false;
};

}  // namespace app
