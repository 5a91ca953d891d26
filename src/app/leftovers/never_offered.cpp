#include "app/leftovers/never_offered.h"

#include <array>

#include "app/leftovers/leftover_paths.h"
#include "platform/text.h"

namespace app {
namespace {

// Folders of these names directly on any drive belong to the system, with all they hold.
constexpr std::array<std::string_view, 3> kSystemTreesOnEveryDrive = {"Windows.old", "$Recycle.Bin",
                                                                      "System Volume Information"};

// Keys that hold every program's keys.
constexpr std::array<std::string_view, 6> kSharedKeys = {
    "Software",           "Software\\Microsoft",   "Software\\Classes",
    "Software\\Policies", "Software\\Wow6432Node", "Software\\Wow6432Node\\Microsoft"};

bool AnyHolds(const std::vector<std::string>& folders, std::string_view path,
              bool (*holds)(std::string_view, std::string_view)) {
  for (const std::string& folder : folders) {
    if (holds(path, folder)) return true;
  }
  return false;
}

bool IsAbove(std::string_view outer, std::string_view inner) {
  return IsSameOrInside(inner, outer);
}

bool IsEntryFolderRelative(std::string_view path, std::string_view folder) {
  return IsSameOrInside(path, folder) || IsInside(folder, path);
}

std::string KeyText(std::string_view path) {
  std::string key = text::UpperAscii(path);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

std::string_view NeverOfferedFolder(const ProtectedFolders& folders, std::string_view path) {
  const std::vector<std::string> parts = PathParts(path);
  if (parts.empty()) return "a drive's root";
  for (const std::string_view tree : kSystemTreesOnEveryDrive) {
    if (text::EqualsIgnoringAsciiCase(parts.front(), tree)) return "the system's own folder";
  }
  if (AnyHolds(folders.with_inside, path, IsSameOrInside)) return "the system's own folder";
  if (AnyHolds(folders.with_above, path, IsAbove)) return "a folder every program shares";
  for (const std::string& parent : folders.profile_parents) {
    if (IsAbove(path, parent)) return "a folder every program shares";
    if (IsInside(path, parent) && PathParts(path).size() == PathParts(parent).size() + 1) {
      return "a user's profile";
    }
  }
  if (AnyHolds(folders.entry_folders, path, IsEntryFolderRelative)) {
    return "the folder of a program still listed";
  }
  return {};
}

std::string_view NeverOfferedKey(std::string_view path,
                                 const std::vector<std::string>& entry_keys) {
  const std::string key = KeyText(path);
  if (key.empty()) return "a root of the registry";
  for (const std::string_view shared : kSharedKeys) {
    if (key == text::UpperAscii(shared)) return "a key every program shares";
  }
  for (const std::string& entry : entry_keys) {
    const std::string listed = KeyText(entry);
    const bool inside =
        key.size() > listed.size() && key.starts_with(listed) && key[listed.size()] == '\\';
    const bool above =
        listed.size() > key.size() && listed.starts_with(key) && listed[key.size()] == '\\';
    if (key == listed || inside || above) return "the key of a program still listed";
  }
  return {};
}

}  // namespace app
