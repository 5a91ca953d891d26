#pragma once

// References the registry still holds to a removed program's files: values and keys that name a
// program file that is gone now, and lay in one of the program's own folders. Only the
// reference is offered, never the file it names.

#include <string>
#include <vector>

#include "app/leftovers/leftover_item.h"
#include "app/paths/registered_path.h"
#include "platform/raw_registry.h"

namespace app {

struct ReferenceSystem {
  platform::RawRegistry& registry;
  const PathSystem& paths;
};

// folders: the program's own folders, as normal paths (leftover_paths.h).
std::vector<LeftoverItem> FindReferences(const ReferenceSystem& system,
                                         const std::vector<std::string>& folders);

}  // namespace app
