#pragma once

// The "Kill Process" rules: which running programs are listed, and what ends one.

#include <optional>
#include <string>
#include <vector>

#include "platform/launcher.h"
#include "platform/process_snapshot.h"
#include "platform/text_order.h"

namespace app {

// The distinct file names of the running processes whose extension is ".EXE" in any letter
// case, spelled as the system reports them, in the order of sorted lists. Names that differ
// only in letter case are each listed. A table that cannot be read lists what was read of it.
std::vector<std::string> RunningPrograms(platform::ProcessSnapshots& snapshots,
                                         const platform::TextOrder& order);

// The elevated start of the system's taskkill that ends every process of that name, with the
// processes they started; none when there is no system directory.
std::optional<platform::StartSpec> KillStart(const std::string& process_name,
                                             const std::string& system_directory);

}  // namespace app
