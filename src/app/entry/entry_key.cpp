#include "app/entry/entry_key.h"

#include "app/entry/entry_values.h"
#include "platform/text.h"

namespace app {

namespace {

constexpr std::string_view kMachineRoot = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kUserRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kWow64Node = "WOW6432Node";
constexpr std::string_view kSoftwarePrefix = "SOFTWARE\\";

}  // namespace

EntryKeyPlace UninstallKeyPlace(EntryView view) {
  EntryKeyPlace place;
  place.path = std::string(kUninstallKey);
  if (view == EntryView::kUser) return place;
  place.root = platform::kHkeyLocalMachine;
  if (view == EntryView::kMachine64) place.view_access = platform::kKeyWow64_64Key;
  return place;
}

EntryKeyPlace KeyPlaceOf(EntryView view, std::string_view key_name) {
  EntryKeyPlace place = UninstallKeyPlace(view);
  place.path += "\\";
  place.path += key_name;
  return place;
}

std::string RegFileKeyPath(platform::RegKey root, std::uint32_t view_access,
                           bool separate_64bit_view, std::string_view path) {
  if (root == platform::kHkeyCurrentUser) return std::string(kUserRoot) + "\\" + std::string(path);
  std::string named(path);
  const bool redirected = separate_64bit_view && view_access != platform::kKeyWow64_64Key;
  if (redirected && text::UpperAscii(named).starts_with(kSoftwarePrefix)) {
    named = std::string(kSoftwarePrefix) + std::string(kWow64Node) + "\\" +
            named.substr(kSoftwarePrefix.size());
  }
  return std::string(kMachineRoot) + "\\" + named;
}

std::string EntryKeyPath(EntryView view, bool separate_64bit_view, std::string_view key_name) {
  const EntryKeyPlace place = KeyPlaceOf(view, key_name);
  return RegFileKeyPath(place.root, place.view_access, separate_64bit_view, place.path);
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
