#pragma once

// Waiting for the process's own threads before its objects are counted: a worker busy with a
// job holds handles and memory, and a thread on its way out closes handles and frees memory, so
// counts taken meanwhile move for reasons of their own.

#include <windows.h>

#include <chrono>
#include <optional>
#include <vector>

#include "platform/background.h"

namespace win32_test {

// Waits until each of the background's workers has finished every job started on it so far:
// one job per worker that none leaves until all are in one. Gives the workers' thread ids, or
// nothing when they did not all come in time.
std::optional<std::vector<DWORD>> WaitForIdleWorkers(platform::Background& background,
                                                     unsigned workers,
                                                     std::chrono::milliseconds limit);

// Waits until each of these threads has ended; true when they had in time.
bool WaitForThreadsToEnd(const std::vector<DWORD>& threads, std::chrono::milliseconds limit);

}  // namespace win32_test
