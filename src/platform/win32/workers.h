#pragma once

#include "platform/workers.h"

namespace win32 {

// One thread per job; the calling thread runs the first job itself, and any job that no thread
// could be had for.
class Workers : public platform::Workers {
 public:
  unsigned HardwareThreads() const override;
  void RunAll(const std::vector<std::function<void()>>& jobs) override;
};

}  // namespace win32
