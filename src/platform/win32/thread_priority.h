#pragma once

#include "platform/workers.h"

namespace win32 {

// The calling thread's priority for a job of that priority: background work runs below the
// GUI thread, so that a menu being sized and drawn never waits for it.
void SetCurrentThreadPriority(platform::JobPriority priority);

}  // namespace win32
