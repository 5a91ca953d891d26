#include "app/entry/entry_key.h"

#include "app/texts/texts.h"

namespace app {

EntryKeyPlace KeyPlaceOf(const ProgramEntry& program) {
  EntryKeyPlace place;
  place.path = std::string(kUninstallKey) + "\\" + program.key_name;
  if (program.view == EntryView::kUser) return place;
  place.root = platform::kHkeyLocalMachine;
  if (program.view == EntryView::kMachine64) place.view_access = platform::kKeyWow64_64Key;
  return place;
}

EntryKey::EntryKey(platform::RawRegistry& raw, const std::string& key_name,
                   const EntryKeyPlace& place)
    : registry_(raw, platform::kKeyRead | place.view_access) {
  // Without a name the path is the uninstall key itself, whose values are no entry's.
  if (key_name.empty()) return;
  registry_.SelectRoot(place.root);
  open_ = registry_.OpenPath(place.path, platform::IfMissing::kFail);
}

}  // namespace app
