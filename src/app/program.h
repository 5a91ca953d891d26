#pragma once

#include "platform/platform.h"

namespace app {

// The entry block: runs the program over the given platform until it ends; the exit code.
int RunProgram(platform::Platform& platform);

}  // namespace app
