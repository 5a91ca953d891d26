#pragma once

// Where the icon of a program or a process is read from: plain rules over what the entry says
// and what the registered paths' rules make of it. Nothing here opens a file; the files that
// may hold the program are only checked for.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/entry/program_entry.h"
#include "app/paths/registered_path.h"

namespace app {

// An icon's place: a file, and the icon's index in it; a negative index names a resource id.
struct IconLocation {
  std::string path;
  int index = 0;
  friend bool operator==(const IconLocation&, const IconLocation&) = default;
};

// "path,index" as "DisplayIcon" and "ProductIcon" hold it. Paths may hold commas: the index
// follows the last comma that an integer alone follows; without one, the whole text is the
// path and the index 0. Quotes around the path are dropped.
IconLocation ParseIconLocation(std::string_view value);

// One file to try, and how: an .ico file goes to the system's icon loader.
struct IconCandidate {
  IconLocation location;
  bool icon_file = false;
  friend bool operator==(const IconCandidate&, const IconCandidate&) = default;
};
IconCandidate CandidateAt(IconLocation location);

// Tries a candidate; true when it gave an icon.
using TryIcon = std::function<bool(const IconCandidate&)>;
// A Windows Installer product's "ProductIcon" by its packed code; empty when there is none.
using ProductIconOf = std::function<std::string(const std::string& packed)>;

// The file whose icon a command gives the program: the program the launch would start, unless
// it is one of the system's runners, whose icon says nothing of the program. None when there is
// none, or it may not be opened.
std::optional<std::string> CommandIconFile(std::string_view command, const EntryPaths& paths,
                                           RemoteDrives& drives);

// What finding a program's icon asks of the system.
struct IconSystem {
  const EntryPaths& paths;  // of the program's view
  RemoteDrives& drives;
  ProductIconOf product_icon;
  TryIcon try_icon;
};

// Tries the sources of a program's icon in order until one gives an icon: its "DisplayIcon",
// its Windows Installer product icon, then the program its uninstall command starts. False
// when none did: the generic icon is then the program's.
bool FindProgramIcon(const ProgramEntry& program, const IconSystem& system);

}  // namespace app
