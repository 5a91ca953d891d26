#pragma once

// What the uninstalls this program started left behind, for scripts: nothing of it is removed;
// only the program's own records past keeping are let go.

#include "platform/platform.h"

namespace app {

// Writes, as JSON on standard output, each kept record whose entry is gone with the items the
// finder offers for it; the exit code.
int RunLeftovers(platform::Platform& platform);

}  // namespace app
