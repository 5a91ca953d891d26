#include "platform/win32/thread_priority.h"

#include <windows.h>

namespace win32 {

void SetCurrentThreadPriority(platform::JobPriority priority) {
  // A priority that cannot be set leaves the job running at the one it has.
  ::SetThreadPriority(::GetCurrentThread(), priority == platform::JobPriority::kBackground
                                                ? THREAD_PRIORITY_LOWEST
                                                : THREAD_PRIORITY_NORMAL);
}

}  // namespace win32
