#pragma once

// Work started now on a worker thread, whose result is handed to a handler on the GUI thread,
// from the message loop, like any message: while a menu is up too, since a menu's modal loop
// dispatches posted messages. The work runs off the GUI thread, so it may use only what
// platform/workers.h allows a job, and its result must be its own. Nothing ever waits for a
// job: letting its owner go, or the TJobs, cancels it, and its handler never runs after that.

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <utility>
#include <vector>

#include "framework/owned.h"
#include "platform/mutex.h"
#include "platform/workers.h"

namespace framework {

class TApplication;

// A result on its way from the worker thread that makes it to the GUI thread that takes it.
template <typename Result>
class TJobResult {
 public:
  template <typename Work>
  void Fill(Work&& work) noexcept {
    try {
      Result made = work();
      const platform::MutexLock lock(mutex_);
      value_.emplace(std::move(made));
    } catch (...) {
      const platform::MutexLock lock(mutex_);
      failure_ = std::current_exception();
    }
  }
  // The work's result, or its failure raised again.
  Result Take() {
    const platform::MutexLock lock(mutex_);
    if (failure_) std::rethrow_exception(failure_);
    return std::move(*value_);
  }

 private:
  platform::Mutex mutex_;
  std::optional<Result> value_ GUARDED_BY(mutex_);
  std::exception_ptr failure_ GUARDED_BY(mutex_);
};

class TJobs final : private platform::WindowHandler {
 public:
  // Work may be started from here on; what ends is handed over once the jobs' window is open.
  explicit TJobs(TApplication& app);
  // Cancels every job not yet handed over.
  ~TJobs();
  TJobs(const TJobs&) = delete;
  TJobs& operator=(const TJobs&) = delete;

  // Makes the window that the ends of jobs are told to: at once when the application has its
  // own window, else when the application makes it. Jobs that ended before are handed over then.
  void Open();

  // The job's handler will not run, and its work is asked to stop.
  void Cancel(platform::JobId job) noexcept;
  // A started job, cancelled when its owner lets it go; it must not outlive this TJobs.
  using Job =
      platform::UniqueHandle<platform::BoundTraits<TJobs, platform::kNoJob, &TJobs::Cancel>>;

  // Starts work now. Once it has ended, done(result) runs on the GUI thread, unless the job was
  // cancelled first; should the work fail, its failure is raised there instead, and shown in
  // the error box as any handler's is.
  template <typename Result>
  [[nodiscard]] Job Start(std::function<Result(std::stop_token)> work,
                          std::function<void(Result)> done,
                          platform::JobPriority priority = platform::JobPriority::kNormal) {
    return StartHanding(Handing(std::move(work), std::move(done)), priority, When::kNow);
  }
  // The same, but the work goes to the workers once the GUI thread is back in its loop: work
  // asked for while a menu is being sized and shown does not compete with it.
  template <typename Result>
  [[nodiscard]] Job StartFromLoop(std::function<Result(std::stop_token)> work,
                                  std::function<void(Result)> done,
                                  platform::JobPriority priority) {
    return StartHanding(Handing(std::move(work), std::move(done)), priority, When::kFromLoop);
  }

  // Runs after each batch of jobs handed over together: jobs that end close together are told
  // in one message, and a handler may leave what they share (a redraw) to this.
  void AfterHandovers(std::function<void()> after) { after_handovers_ = std::move(after); }

  // Jobs started and neither handed over nor cancelled yet.
  std::size_t Pending() const { return jobs_.size(); }

  // While held, the jobs that end wait to be handed over: a handler that shows a box holds
  // them, so that no other handler runs inside it. Once the last hold is let go, they are
  // handed over from the message loop again, in the order they ended.
  class Hold {
   public:
    explicit Hold(TJobs& jobs) : jobs_(jobs) { ++jobs_.holds_; }
    ~Hold() { jobs_.LetGo(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    TJobs& jobs_;
  };

 private:
  struct Mailbox;
  enum class When { kNow, kFromLoop };
  struct Handed {
    std::function<void(std::stop_token)> work;
    std::function<void()> handover;
  };
  struct Running {
    platform::JobId worker_job = platform::kNoJob;  // the workers' id; none while it waits
    std::function<void()> handover;
  };
  struct Waiting {
    platform::JobId job = platform::kNoJob;
    std::function<void(std::stop_token)> work;
    platform::JobPriority priority = platform::JobPriority::kNormal;
  };

  template <typename Result>
  static Handed Handing(std::function<Result(std::stop_token)> work,
                        std::function<void(Result)> done) {
    auto result = std::make_shared<TJobResult<Result>>();
    return Handed{[result, work = std::move(work)](std::stop_token stop) {
                    result->Fill([&] { return work(stop); });
                  },
                  [result, done = std::move(done)] { done(result->Take()); }};
  }
  Job StartHanding(Handed handed, platform::JobPriority priority, When when);
  void GiveToWorkers(platform::JobId job, std::function<void(std::stop_token)> work,
                     platform::JobPriority priority);
  void HandOver();
  void StartWaiting();
  void LetGo() noexcept;
  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  TApplication& app_;
  // Shared with the work: it tells its end there, whether or not this TJobs is still there.
  std::shared_ptr<Mailbox> mailbox_;
  std::map<platform::JobId, Running> jobs_;
  std::vector<Waiting> waiting_;
  platform::JobId next_job_ = platform::kNoJob + 1;
  std::function<void()> after_handovers_;
  int holds_ = 0;
  std::vector<platform::JobId> ended_while_held_;
  UniqueWindow window_;  // the last member: it goes first, with the messages it would get
};

}  // namespace framework
