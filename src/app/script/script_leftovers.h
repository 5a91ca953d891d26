#pragma once

// What the uninstalls this program started left behind, for scripts: listed, and taken away
// only when asked, and only what the finder is certain of.

#include <string>

#include "platform/platform.h"

namespace app {

// Writes, as JSON on standard output, each kept record whose entry is gone with the items the
// finder offers for it; the exit code.
int RunLeftovers(platform::Platform& platform);

// Takes the items the finder is certain of, of the record in that folder, into the stores, and
// writes, as JSON, what was removed and where it is kept, and what was not and why.
int RunRemoveLeftovers(platform::Platform& platform, const std::string& record_folder);

}  // namespace app
