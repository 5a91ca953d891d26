#pragma once

// The workers over standard threads, the same on every platform that has them.

#include <condition_variable>
#include <deque>
#include <map>
#include <thread>

#include "platform/mutex.h"
#include "platform/workers.h"

namespace platform {

// Started jobs are served by up to kStartedJobThreads threads, kept until the workers go; more
// jobs wait their turn, in the order started. The caller makes the first thread; a thread that
// takes a job while others wait and none is idle makes the next, so that a caller starting many
// jobs at once (the catalogue's reading, as the program starts) is not held up making threads.
class ThreadWorkers final : public Workers {
 public:
  // As many as the catalogue's reading keeps in flight (app/catalogue/scan_budget.h): its jobs
  // are round trips that wait, not work. Background jobs (the icons) take two of them at most,
  // so that they never crowd out what the user waits for.
  static constexpr unsigned kStartedJobThreads = 8;
  static constexpr unsigned kBackgroundJobThreads = 2;

  // Sets the calling thread's priority; where the platform has none to set, nothing.
  using SetThreadPriority = void (*)(JobPriority);

  explicit ThreadWorkers(SetThreadPriority set_priority = nullptr) : set_priority_(set_priority) {}
  // Drops the started jobs not yet begun and asks the running ones to stop; none posts from
  // then on. Their threads are joined once their work has returned, which a job's work does
  // soon after its stop request, as it looks at its stop token between steps.
  ~ThreadWorkers() override;
  ThreadWorkers(const ThreadWorkers&) = delete;
  ThreadWorkers& operator=(const ThreadWorkers&) = delete;

  unsigned HardwareThreads() const override;
  // Raises std::system_error, and starts nothing, when a thread is needed and none can be had.
  JobId Start(std::function<void(std::stop_token)> work, const JobDelivery& delivery,
              JobPriority priority) override;
  void Cancel(JobId job) noexcept override;

 private:
  struct StartedJob {
    JobId id = kNoJob;
    std::function<void(std::stop_token)> work;
    JobDelivery delivery;
    JobPriority priority = JobPriority::kNormal;
    std::stop_source stop;
  };
  // One thread serving started jobs until shutdown is requested.
  void Serve(std::stop_token shutdown);
  // Another serving thread while jobs wait and no thread is idle.
  void AddThreadIfNeeded() REQUIRES(mutex_);
  // With the lock held: the next waiting job, now running, or nothing at shutdown.
  bool TakeWaiting(MutexLock& lock, std::stop_token shutdown, StartedJob& job) REQUIRES(mutex_);
  // The waiting job to begin next: the first normal one, else the first background one while
  // fewer than kBackgroundJobThreads run; the end when none may begin.
  std::deque<StartedJob>::iterator NextToBegin() REQUIRES(mutex_);

  const SetThreadPriority set_priority_;
  Mutex mutex_;
  std::condition_variable_any job_waiting_;
  std::deque<StartedJob> waiting_ GUARDED_BY(mutex_);
  // A job's entry goes when it is cancelled.
  std::map<JobId, std::stop_source> running_ GUARDED_BY(mutex_);
  JobId next_id_ GUARDED_BY(mutex_) = kNoJob + 1;
  std::size_t idle_ GUARDED_BY(mutex_) = 0;
  unsigned background_running_ GUARDED_BY(mutex_) = 0;
  bool shutting_down_ GUARDED_BY(mutex_) = false;
  // Made under the lock, by the caller or a thread; none once shutting down. The last member:
  // its threads are joined before anything they use goes.
  std::vector<std::jthread> threads_ GUARDED_BY(mutex_);
};

}  // namespace platform
