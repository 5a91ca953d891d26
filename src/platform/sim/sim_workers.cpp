#include "platform/sim/sim_workers.h"

#include <exception>

namespace sim {

void SerialWorkers::RunAll(const std::vector<std::function<void()>>& jobs) {
  std::exception_ptr first;
  for (const auto& job : jobs) {
    ++jobs_run_;
    try {
      job();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

}  // namespace sim
