#pragma once

// Where the icon of a program or a process is read from: plain rules over what the entry says
// and what the system tells of its paths. Nothing here opens a file.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/program_icon.h"

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

// A product code "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" as Windows Installer packs it to name
// its keys: each of the first three groups reversed, each byte of the last two swapped, no
// punctuation. Empty when the text is no such code.
std::string PackedProductCode(std::string_view product_code);

// The program file an uninstall command starts: the quoted path, or the text up to its first
// ".exe", or up to its first blank. Empty for the system's own runners (msiexec, rundll32 and
// cmd), whose icon says nothing of the program.
std::string CommandProgram(std::string_view command);

// What the rules need to know of the system to make a registered path one to open.
struct PathContext {
  std::function<std::optional<std::string>(const std::string& name)> environment;
  std::function<bool(char letter)> is_remote_drive;
  std::string system_directory;  // as this (32-bit) process sees it
  bool is_64_bit_system = false;
};

// %NAME% replaced by the variable's value, as the entry's own view sees it: a 64-bit entry's
// "ProgramFiles" and "CommonProgramFiles" are the 64-bit folders (ProgramW6432,
// CommonProgramW6432). Unknown variables stay as written.
std::string ExpandInView(std::string_view path, bool view64, const PathContext& context);

// A 64-bit entry's path into the system folder reaches the 64-bit one through "Sysnative";
// every other path is returned as it is.
std::string ThroughSysnative(const std::string& path, bool view64, const PathContext& context);

// Whether the path may be opened at all: a full path on a local drive. Network shares (UNC),
// device paths and names, network drives and relative paths may hang or mean something else,
// so they are never opened.
bool MayOpen(std::string_view path, const PathContext& context);

// A registered path as it is opened: expanded, through Sysnative; none when never opened.
std::optional<std::string> PathToOpen(std::string_view registered, bool view64,
                                      const PathContext& context);

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

// Tries the sources of a program's icon in order until one gives an icon: its "DisplayIcon",
// its Windows Installer product icon, then the program its uninstall command starts. False
// when none did: the generic icon is then the program's.
bool FindProgramIcon(const ProgramIcon& hint, std::string_view command, const PathContext& context,
                     const ProductIconOf& product_icon, const TryIcon& try_icon);

}  // namespace app
