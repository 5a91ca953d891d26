#pragma once

// Workers without threads: the jobs run one after another, in the list's order, on the calling
// thread, so a test sees the same result on every run. A started job runs to its end inside
// Start, and its message is posted before Start returns: the program takes it at its next look
// at the queue. Held, started jobs wait until the test lets them run, to look at what the
// program shows meanwhile; a held job that is cancelled never runs. The hardware thread count
// is set by the test, to exercise how work is split.
// Safe from any thread, as the seam asks: what it keeps is guarded by a lock.

#include <cstddef>
#include <deque>
#include <functional>

#include "platform/mutex.h"
#include "platform/workers.h"

namespace sim {

class SerialWorkers final : public platform::Workers {
 public:
  static constexpr unsigned kDefaultHardwareThreads = 2;

  unsigned HardwareThreads() const override;
  void SetHardwareThreads(unsigned threads);
  platform::JobId Start(std::function<void(std::stop_token)> work,
                        const platform::JobDelivery& delivery,
                        platform::JobPriority priority) override;
  // A held job is dropped; one that ran has ended: nothing is left to stop.
  void Cancel(platform::JobId job) noexcept override;

  void Hold(bool hold);
  // Called at each start, before the job is run or held: a test's look at the moment.
  void WatchStarts(std::function<void()> watch);
  // Runs the held jobs, in the order started, and those they start.
  void RunHeld();
  std::size_t HeldCount() const;

  // The priority of the last job started.
  platform::JobPriority LastPriority() const;

 private:
  struct Held {
    platform::JobId id = platform::kNoJob;
    std::function<void(std::stop_token)> work;
    platform::JobDelivery delivery;
  };
  static void Run(Held job);

  mutable platform::Mutex mutex_;
  unsigned hardware_threads_ GUARDED_BY(mutex_) = kDefaultHardwareThreads;
  platform::JobId next_id_ GUARDED_BY(mutex_) = platform::kNoJob + 1;
  platform::JobPriority last_priority_ GUARDED_BY(mutex_) = platform::JobPriority::kNormal;
  bool hold_ GUARDED_BY(mutex_) = false;
  std::function<void()> watch_ GUARDED_BY(mutex_);
  std::deque<Held> held_ GUARDED_BY(mutex_);
};

}  // namespace sim
