#pragma once

// The folders this system never lets the finder offer, told by the system itself.

#include <string>
#include <vector>

#include "app/leftovers/listed_evidence.h"
#include "app/leftovers/never_offered.h"
#include "platform/platform.h"

namespace app {

// The Program Files roots and their Common Files, in both views, as normal paths.
std::vector<std::string> ProgramFilesRoots(platform::Launcher& launcher);

// A registered path as the finder compares it: variables expanded, its long form when it
// exists; nothing when it has no single spelling (leftover_paths.h).
std::optional<std::string> ComparablePath(platform::Platform& platform, const std::string& path);

ProtectedFolders ProtectedFoldersOf(platform::Platform& platform, const ListedEvidence& listed);

}  // namespace app
