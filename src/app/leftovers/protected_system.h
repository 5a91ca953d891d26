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

// The whole names (leftover_names.h) and the folders a record or an entry names, as the finder
// compares them.
std::vector<std::string> NamesOf(platform::Platform& platform, const EvidenceRecord& record);
std::vector<std::string> FoldersOf(platform::Platform& platform, const EvidenceRecord& record);

ProtectedFolders ProtectedFoldersOf(platform::Platform& platform, const ListedEvidence& listed);

}  // namespace app
