#pragma once

// What the finder never offers, whatever the evidence says, in one place: the removal checks
// every item against it again before anything moves.

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The system's folders, as normal paths (leftover_paths.h).
struct ProtectedFolders {
  // Never offered, nor any folder above them: the known folders (Desktop, Documents, Downloads,
  // AppData, the Start menu, ...), the Program Files and Common Files roots, ProgramData, Users.
  std::vector<std::string> with_above;
  // Never offered, nor anything inside them: the Windows folder, WindowsApps, ProgramData's
  // Microsoft and Package Cache, the program's own folder and its records.
  std::vector<std::string> with_inside;
  // The folders that hold the profiles: every folder directly inside is one.
  std::vector<std::string> profile_parents;
  // The folders of the entries still in the registry, hidden ones included: never offered, nor
  // anything inside them or above them.
  std::vector<std::string> entry_folders;
};

// Why the folder (a normal path) may never be offered; empty when it may be.
std::string_view NeverOfferedFolder(const ProtectedFolders& folders, std::string_view path);

// Why the key (its path below HKCU or HKLM, in either view) may never be offered; empty when it
// may be. entry_keys: the keys of the entries listed now, by the same kind of path.
std::string_view NeverOfferedKey(std::string_view path, const std::vector<std::string>& entry_keys);

}  // namespace app
