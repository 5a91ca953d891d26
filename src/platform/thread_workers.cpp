#include "platform/thread_workers.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Runs the job, keeping its failure for the caller instead of ending the process.
template <typename Job, typename... Args>
void RunKeeping(const Job& job, std::exception_ptr& failure, Args&&... args) noexcept {
  try {
    job(std::forward<Args>(args)...);
  } catch (...) {
    failure = std::current_exception();
  }
}

}  // namespace

ThreadWorkers::~ThreadWorkers() {
  std::vector<std::stop_source> running;
  std::vector<std::jthread> threads;
  {
    const MutexLock lock(mutex_);
    shutting_down_ = true;
    waiting_.clear();
    for (auto& [id, stop] : running_) running.push_back(stop);
    running_.clear();
    threads = std::move(threads_);
  }
  // Outside the lock: a job's stop callbacks run here and may call back into the workers.
  for (std::stop_source& stop : running) stop.request_stop();
  for (std::jthread& thread : threads) thread.request_stop();
  // Under the lock, so that no idle thread is between its last look and its wait: the wake that
  // a shutdown request gives its wait may be lost to that gap in some standard libraries.
  {
    const MutexLock lock(mutex_);
    job_waiting_.notify_all();
  }
  threads.clear();  // each thread is joined
}

unsigned ThreadWorkers::HardwareThreads() const {
  return std::max(1u, std::thread::hardware_concurrency());
}

JobId ThreadWorkers::Start(std::function<void(std::stop_token)> work, const JobDelivery& delivery,
                           JobPriority priority) {
  const MutexLock lock(mutex_);
  // A thread is made before the job is queued, so that a job no thread can be had for is not
  // left waiting for ever: the first, or one more when every thread is busy and no job waits.
  // Jobs waiting already make their threads from the threads that take them.
  const bool all_busy =
      idle_ == 0 && NextToBegin() == waiting_.end() && threads_.size() < kStartedJobThreads;
  if (threads_.empty() || all_busy) {
    threads_.emplace_back([this](std::stop_token shutdown) { Serve(shutdown); });
  }
  const JobId id = next_id_++;
  waiting_.push_back(StartedJob{id, std::move(work), delivery, priority, std::stop_source()});
  job_waiting_.notify_one();
  return id;
}

void ThreadWorkers::Cancel(JobId job) noexcept {
  std::stop_source stop(std::nostopstate);
  {
    const MutexLock lock(mutex_);
    std::erase_if(waiting_, [job](const StartedJob& waiting) { return waiting.id == job; });
    const auto it = running_.find(job);
    if (it == running_.end()) return;
    stop = std::move(it->second);
    running_.erase(it);
  }
  stop.request_stop();
}

std::deque<ThreadWorkers::StartedJob>::iterator ThreadWorkers::NextToBegin() {
  const auto normal = std::find_if(waiting_.begin(), waiting_.end(), [](const StartedJob& waiting) {
    return waiting.priority == JobPriority::kNormal;
  });
  if (normal != waiting_.end() || background_running_ >= kBackgroundJobThreads) return normal;
  return waiting_.begin();
}

void ThreadWorkers::AddThreadIfNeeded() {
  if (shutting_down_ || idle_ != 0 || NextToBegin() == waiting_.end() ||
      threads_.size() >= kStartedJobThreads) {
    return;
  }
  try {
    threads_.emplace_back([this](std::stop_token shutdown) { Serve(shutdown); });
  } catch (const std::system_error&) {
    // The threads there are take the waiting jobs in turn.
  }
}

bool ThreadWorkers::TakeWaiting(MutexLock& lock, std::stop_token shutdown, StartedJob& job) {
  ++idle_;
  const bool found = job_waiting_.wait(
      lock, shutdown, [this]() REQUIRES(mutex_) { return NextToBegin() != waiting_.end(); });
  --idle_;
  if (!found) return false;
  const auto taken = NextToBegin();
  if (taken->priority == JobPriority::kBackground) ++background_running_;
  job = std::move(*taken);
  waiting_.erase(taken);
  AddThreadIfNeeded();
  running_.emplace(job.id, job.stop);
  return true;
}

void ThreadWorkers::Serve(std::stop_token shutdown) {
  MutexLock lock(mutex_);
  StartedJob job;
  std::optional<JobPriority> priority;  // the thread's, once set
  while (TakeWaiting(lock, shutdown, job)) {
    lock.unlock();
    if (set_priority_ != nullptr && priority != job.priority) {
      set_priority_(job.priority);
      priority = job.priority;
    }
    // Work reports its failures through what it hands back; one that escapes it is dropped.
    std::exception_ptr dropped;
    RunKeeping(job.work, dropped, job.stop.get_token());
    // Its captures go now, not at the next job, and outside the lock, as they may call back.
    job.work = nullptr;
    dropped = nullptr;
    lock.lock();
    if (job.priority == JobPriority::kBackground) {
      --background_running_;
      job_waiting_.notify_one();  // a background job may wait for this one's place
    }
    // Posted under the lock, so that a Cancel that has returned is never followed by a post.
    const bool cancelled = running_.erase(job.id) == 0;
    if (!cancelled && job.delivery.windowing != nullptr) {
      job.delivery.windowing->PostTo(job.delivery.window, job.delivery.message, job.id, 0);
    }
  }
}

}  // namespace platform
