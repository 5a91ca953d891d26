#include "platform/sim/sim_workers.h"

#include <exception>

namespace sim {

unsigned SerialWorkers::HardwareThreads() const {
  const platform::MutexLock lock(mutex_);
  return hardware_threads_;
}

void SerialWorkers::SetHardwareThreads(unsigned threads) {
  const platform::MutexLock lock(mutex_);
  hardware_threads_ = threads;
}

void SerialWorkers::RunAll(const std::vector<std::function<void()>>& jobs, unsigned max_threads) {
  {
    const platform::MutexLock lock(mutex_);
    last_thread_limit_ = max_threads;
    jobs_run_ += jobs.size();
  }
  std::exception_ptr first;
  for (const auto& job : jobs) {
    try {
      job();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

platform::JobId SerialWorkers::Start(std::function<void(std::stop_token)> work,
                                     const platform::JobDelivery& delivery) {
  platform::JobId id = platform::kNoJob;
  {
    const platform::MutexLock lock(mutex_);
    id = next_id_++;
  }
  try {
    work(std::stop_token());
  } catch (...) {
    // Work reports its failures through what it hands back; one that escapes it is dropped.
  }
  if (delivery.windowing != nullptr) {
    delivery.windowing->PostTo(delivery.window, delivery.message, id, 0);
  }
  return id;
}

std::size_t SerialWorkers::JobsRun() const {
  const platform::MutexLock lock(mutex_);
  return jobs_run_;
}

unsigned SerialWorkers::LastThreadLimit() const {
  const platform::MutexLock lock(mutex_);
  return last_thread_limit_;
}

}  // namespace sim
