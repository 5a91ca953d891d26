#pragma once

// A result made by a job that the GUI thread takes when it needs it: at once when it is made,
// waiting while it is being made, or making it itself when the job has not begun, so that no
// wait is ever for work that nobody does. A result never taken is let go with the job, which is
// cancelled; work already under way finishes into nothing.

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <utility>

#include "framework/jobs.h"
#include "platform/mutex.h"

namespace framework {

template <typename Result>
class TTakeOrWait {
 public:
  using Work = std::function<Result(std::stop_token)>;

  // done, when given, runs on the GUI thread once the job has made the result, unless it was
  // taken first.
  TTakeOrWait(TJobs& jobs, Work work, std::function<void()> done = {})
      : shared_(std::make_shared<Shared>(std::move(work))) {
    job_ = jobs.Start<bool>(
        [shared = shared_](std::stop_token stop) {
          if (!shared->Begin()) return false;
          shared->Make(stop);
          return true;
        },
        [done = std::move(done)](bool made) {
          if (made && done) done();
        });
  }

  // Makes the result here when its job has not begun, and never will then; true when it did.
  // Taking several, a taker makes those first and waits for the rest after.
  bool MakeUnlessBegun() {
    if (!shared_->TakeOver()) return false;
    job_.reset();
    shared_->Make(std::stop_token());
    return true;
  }

  // The result, once; its work's failure raised again.
  Result Take() {
    MakeUnlessBegun();
    return shared_->Wait();
  }

 private:
  struct Shared {
    enum class Stage { kWaiting, kMaking, kMade };

    explicit Shared(Work w) : work(std::move(w)) {}

    // On the job: false when the GUI thread has taken the work over.
    bool Begin() {
      const platform::MutexLock lock(mutex);
      if (stage != Stage::kWaiting) return false;
      stage = Stage::kMaking;
      return true;
    }
    // On the GUI thread: true when the job had not begun, and now never will.
    bool TakeOver() {
      const platform::MutexLock lock(mutex);
      if (stage != Stage::kWaiting) return false;
      stage = Stage::kMaking;
      return true;
    }
    void Make(std::stop_token stop) {
      std::optional<Result> made;
      std::exception_ptr failed;
      try {
        made.emplace(work(std::move(stop)));
      } catch (...) {
        failed = std::current_exception();
      }
      const platform::MutexLock lock(mutex);
      value = std::move(made);
      failure = std::move(failed);
      stage = Stage::kMade;
      ready.notify_all();
    }
    Result Wait() {
      platform::MutexLock lock(mutex);
      ready.wait(lock, [this]() REQUIRES(mutex) { return stage == Stage::kMade; });
      if (failure) std::rethrow_exception(failure);
      return std::move(*value);
    }

    const Work work;
    platform::Mutex mutex;
    std::condition_variable_any ready;
    Stage stage GUARDED_BY(mutex) = Stage::kWaiting;
    std::optional<Result> value GUARDED_BY(mutex);
    std::exception_ptr failure GUARDED_BY(mutex);
  };

  std::shared_ptr<Shared> shared_;
  TJobs::Job job_;
};

}  // namespace framework
