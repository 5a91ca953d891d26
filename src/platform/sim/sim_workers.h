#pragma once

// Workers without threads: the jobs run one after another, in the list's order, on the calling
// thread, so a test sees the same result on every run. A started job runs to its end inside
// Start, and its message is posted before Start returns: the program takes it at its next look
// at the queue. The hardware thread count is set by the test, to exercise how work is split.
// Safe from any thread, as the seam asks: what it counts is guarded by a lock.

#include <cstddef>

#include "platform/mutex.h"
#include "platform/workers.h"

namespace sim {

class SerialWorkers final : public platform::Workers {
 public:
  static constexpr unsigned kDefaultHardwareThreads = 2;

  unsigned HardwareThreads() const override;
  void SetHardwareThreads(unsigned threads);
  // Each job runs to its end before the next starts; the first failure is raised once all ran.
  void RunAll(const std::vector<std::function<void()>>& jobs, unsigned max_threads) override;
  platform::JobId Start(std::function<void(std::stop_token)> work,
                        const platform::JobDelivery& delivery) override;
  // The job has ended by then: nothing is left to stop or hold back.
  void Cancel(platform::JobId) noexcept override {}

  // How many jobs ran, over every RunAll.
  std::size_t JobsRun() const;
  // The thread limit the last RunAll was given; 0 before the first.
  unsigned LastThreadLimit() const;

 private:
  mutable platform::Mutex mutex_;
  unsigned hardware_threads_ GUARDED_BY(mutex_) = kDefaultHardwareThreads;
  std::size_t jobs_run_ GUARDED_BY(mutex_) = 0;
  unsigned last_thread_limit_ GUARDED_BY(mutex_) = 0;
  platform::JobId next_id_ GUARDED_BY(mutex_) = platform::kNoJob + 1;
};

}  // namespace sim
