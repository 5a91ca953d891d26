#pragma once

// An uninstall entry's own key, found again after the scan in the view it was listed from: to
// tell whether it is still there, to copy or remove it, and to read what the scan left unread
// because the list did not need it.

#include <cstdint>
#include <string>

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
EntryKeyPlace KeyPlaceOf(const ProgramEntry& program);

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
