#pragma once

// Runs independent pieces of work at once where the platform has threads. A job may read the
// registry, file dates and the process table through its own handles; it touches no window.

#include <functional>
#include <vector>

namespace platform {

class Workers {
 public:
  virtual ~Workers() = default;
  // How many jobs the machine runs at once: its hardware threads, at least 1.
  virtual unsigned HardwareThreads() const = 0;
  // Runs every job and returns when all have ended. A job's failure is raised again from here
  // once all have ended: the first one in the list's order.
  virtual void RunAll(const std::vector<std::function<void()>>& jobs) = 0;
};

}  // namespace platform
