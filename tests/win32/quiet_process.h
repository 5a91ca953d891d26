#pragma once

// Waiting for the process's own threads before its objects are counted: a worker busy with a
// job holds handles and memory, and a thread on its way out closes handles and frees memory, so
// counts taken meanwhile move for reasons of their own.

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "platform/workers.h"

namespace win32_test {

// Brings the workers together, each in a background job of its own that none leaves until all
// are in: each has then finished every background job started before. What the meeting needs (a
// lock, a condition and their kernel objects) lasts as long as this object, so that the
// workers leaving frees nothing that a count would see.
class WorkerMeeting {
 public:
  WorkerMeeting();
  ~WorkerMeeting();
  WorkerMeeting(const WorkerMeeting&) = delete;
  WorkerMeeting& operator=(const WorkerMeeting&) = delete;

  // Returns once the workers have met and left again: their thread ids, or nothing when they
  // did not all come in time. Background jobs come after the background jobs started before,
  // normal ones before them; only so many background jobs run at once.
  std::optional<std::vector<DWORD>> Hold(platform::Workers& workers, unsigned threads,
                                         std::chrono::milliseconds limit,
                                         platform::JobPriority priority);

 private:
  struct State;
  std::shared_ptr<State> state_;  // shared with the jobs, which may outlive a failed meeting
};

// Waits until each of these threads has ended; true when they had in time.
bool WaitForThreadsToEnd(const std::vector<DWORD>& threads, std::chrono::milliseconds limit);

}  // namespace win32_test
