#pragma once

// Folder paths as the finder compares them: one spelling for one place, or none when the text
// could name a place other than it seems to.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The path of a local drive ("C:\...") with "/" as "\", no empty, "." or ".." parts, no trailing
// separator (but a root's) and no trailing dots or blanks on a part, which Windows drops. None
// for a relative path, a share, a device, ".." above the root, or a part that looks like a short
// 8.3 name ("PROGRA~1"): such a part may name any folder, and only the file system can tell
// which, so the finder resolves it first or leaves the path alone.
std::optional<std::string> NormalPath(std::string_view path);

// Whether two normal paths name the same place, letter case aside.
bool SamePath(std::string_view a, std::string_view b);
// Whether inner lies strictly below outer.
bool IsInside(std::string_view inner, std::string_view outer);
inline bool IsSameOrInside(std::string_view inner, std::string_view outer) {
  return SamePath(inner, outer) || IsInside(inner, outer);
}

// The parts of a normal path after its root: "C:\A\B" gives "A", "B".
std::vector<std::string> PathParts(std::string_view normal);

}  // namespace app
