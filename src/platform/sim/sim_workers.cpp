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

platform::JobId SerialWorkers::Start(std::function<void(std::stop_token)> work,
                                     const platform::JobDelivery& delivery,
                                     platform::JobPriority priority) {
  Held job{platform::kNoJob, std::move(work), delivery};
  std::function<void()> watch;
  {
    const platform::MutexLock lock(mutex_);
    job.id = next_id_++;
    last_priority_ = priority;
    watch = watch_;
  }
  // Outside the lock: the test's look may ask the workers anything.
  if (watch) watch();
  const platform::JobId id = job.id;
  {
    const platform::MutexLock lock(mutex_);
    if (hold_) {
      held_.push_back(std::move(job));
      return id;
    }
  }
  Run(std::move(job));
  return id;
}

void SerialWorkers::Run(Held job) {
  try {
    job.work(std::stop_token());
  } catch (...) {
    // Work reports its failures through what it hands back; one that escapes it is dropped.
  }
  // Its captures go before its end is told, as over threads.
  job.work = nullptr;
  if (job.delivery.windowing != nullptr) {
    job.delivery.windowing->PostTo(job.delivery.window, job.delivery.message, job.id, 0);
  }
}

void SerialWorkers::Cancel(platform::JobId job) noexcept {
  std::deque<Held> dropped;  // destroyed outside the lock: captures may call back
  const platform::MutexLock lock(mutex_);
  for (auto it = held_.begin(); it != held_.end(); ++it) {
    if (it->id != job) continue;
    dropped.push_back(std::move(*it));
    held_.erase(it);
    return;
  }
}

void SerialWorkers::Hold(bool hold) {
  const platform::MutexLock lock(mutex_);
  hold_ = hold;
}

void SerialWorkers::WatchStarts(std::function<void()> watch) {
  const platform::MutexLock lock(mutex_);
  watch_ = std::move(watch);
}

void SerialWorkers::RunHeld() {
  while (true) {
    Held job;
    {
      const platform::MutexLock lock(mutex_);
      if (held_.empty()) return;
      job = std::move(held_.front());
      held_.pop_front();
    }
    Run(std::move(job));
  }
}

std::size_t SerialWorkers::HeldCount() const {
  const platform::MutexLock lock(mutex_);
  return held_.size();
}

platform::JobPriority SerialWorkers::LastPriority() const {
  const platform::MutexLock lock(mutex_);
  return last_priority_;
}

}  // namespace sim
