#include "app/orphans/set_aside.h"

#include <vector>

#include "app/copies/key_copy.h"
#include "app/entry/entry_key.h"
#include "app/launch/last_command.h"
#include "platform/registry.h"
#include "platform/registry_text.h"

namespace app {
namespace {

using platform::RegResult;

constexpr std::string_view kNotesKey = "Removals";
// A note names a file path: more than any path Windows opens is no note of ours.
constexpr std::size_t kMaxNoteBytes = 4096;

std::string NotesPath() {
  return std::string(kSettingsKey) + "\\" + std::string(kNotesKey);
}

RegResult DeleteTreeItself(platform::RawRegistry& registry, platform::RegKey key, int depth) {
  if (depth > kMaxCopyDepth) return platform::kRegAccessDenied;
  // Names first: deleting while listing would shift the indexes.
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::string name;
    const RegResult listed = registry.EnumKey(key, index, name);
    if (listed == platform::kRegNoMoreItems) break;
    if (listed != platform::kRegOk) return listed;
    names.push_back(std::move(name));
  }
  for (const std::string& name : names) {
    platform::UniqueRegKey subkey(registry);
    const RegResult opened =
        registry.OpenKeyItself(key, name, platform::kKeyAllAccess, subkey.put());
    if (opened == platform::kRegNotFound) continue;
    if (opened != platform::kRegOk) return opened;
    if (const RegResult deleted = DeleteTreeItself(registry, subkey.get(), depth + 1);
        deleted != platform::kRegOk) {
      return deleted;
    }
  }
  return registry.DeleteOpenKey(key);
}

// The copy a note names, when it is still there to restore the key from.
bool NotedCopyIsThere(platform::RawRegistry& registry, platform::FileDates& files,
                      const std::string& set_aside) {
  platform::UniqueRegKey notes(registry);
  if (registry.OpenKey(platform::kHkeyCurrentUser, NotesPath(), platform::kKeyRead, notes.put()) !=
      platform::kRegOk) {
    return false;
  }
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> stored;
  if (registry.ReadStoredValue(notes.get(), set_aside, kMaxNoteBytes, type, stored) !=
          platform::kRegOk ||
      type != platform::kRegSz) {
    return false;
  }
  std::vector<std::uint8_t> path = platform::SeamBytes(type, stored.data(), stored.size());
  while (!path.empty() && path.back() == 0) path.pop_back();
  const std::string copy_path(path.begin(), path.end());
  return !copy_path.empty() && files.FileExists(copy_path);
}

void Finish(platform::RawRegistry& registry, platform::FileDates& files,
            const std::string& set_aside) {
  const EntryKeyPlace uninstall = UninstallKeyPlace(EntryView::kUser);
  platform::UniqueRegKey key(registry);
  if (registry.OpenKeyItself(uninstall.root, uninstall.path + "\\" + set_aside,
                             platform::kKeyAllAccess, key.put()) != platform::kRegOk) {
    return;
  }
  if (NotedCopyIsThere(registry, files, set_aside)) {
    if (DeleteKeyItself(registry, key.get()) == platform::kRegOk) {
      DeleteRemovalNote(registry, set_aside);
    }
    return;
  }
  // Unless it was copied, the key goes back; when its name is taken, it waits for the user.
  const std::string name = set_aside.substr(kSetAsidePrefix.size());
  if (registry.RenameKey(key.get(), name) == platform::kRegOk) {
    DeleteRemovalNote(registry, set_aside);
  }
}

}  // namespace

RegResult DeleteKeyItself(platform::RawRegistry& registry, platform::RegKey key) {
  return DeleteTreeItself(registry, key, 0);
}

bool WriteRemovalNote(platform::RawRegistry& registry, const std::string& set_aside,
                      const std::string& copy_path) {
  platform::UniqueRegKey notes(registry);
  if (registry.CreateKey(platform::kHkeyCurrentUser, NotesPath(), platform::kKeyAllAccess,
                         notes.put()) != platform::kRegOk) {
    return false;
  }
  std::vector<std::uint8_t> text(copy_path.begin(), copy_path.end());
  text.push_back(0);
  return registry.SetValue(notes.get(), set_aside, platform::kRegSz, text.data(),
                           static_cast<std::uint32_t>(text.size())) == platform::kRegOk;
}

void DeleteRemovalNote(platform::RawRegistry& registry, const std::string& set_aside) {
  platform::UniqueRegKey notes(registry);
  if (registry.OpenKey(platform::kHkeyCurrentUser, NotesPath(), platform::kKeyAllAccess,
                       notes.put()) == platform::kRegOk) {
    registry.DeleteValue(notes.get(), set_aside);
  }
}

void FinishSetAsideEntries(platform::RawRegistry& registry, platform::FileDates& files) {
  const EntryKeyPlace uninstall = UninstallKeyPlace(EntryView::kUser);
  platform::UniqueRegKey key(registry);
  if (registry.OpenKey(uninstall.root, uninstall.path, platform::kKeyRead, key.put()) !=
      platform::kRegOk) {
    return;
  }
  std::vector<std::string> set_aside;
  for (std::uint32_t index = 0;; ++index) {
    std::string name;
    if (registry.EnumKey(key.get(), index, name) != platform::kRegOk) break;
    if (IsSetAsideName(name)) set_aside.push_back(std::move(name));
  }
  for (const std::string& name : set_aside) Finish(registry, files, name);
}

}  // namespace app
