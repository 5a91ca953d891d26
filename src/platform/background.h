#pragma once

// Work started now and finished later, off the GUI thread where the platform has threads. A job
// may read files, the registry and the process table through handles of its own; it touches no
// window, and it reports back by posting to the GUI thread's queue.

#include <functional>

namespace platform {

class Background {
 public:
  virtual ~Background() = default;
  // Queues the job; it runs once, on some worker, in the order started. Nobody waits for it:
  // jobs still queued when the program ends never run.
  virtual void Start(std::function<void()> job) = 0;
};

}  // namespace platform
