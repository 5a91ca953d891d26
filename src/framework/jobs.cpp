#include "framework/jobs.h"

#include <algorithm>
#include <stdexcept>

#include "framework/application.h"

namespace framework {
namespace {

// Posted to the jobs' window when jobs have ended, once for however many end before the GUI
// thread looks.
constexpr platform::MessageId kWmJobsEnded = platform::kWmUser + 1;
// Posted when work waits for the GUI thread to be back in its loop.
constexpr platform::MessageId kWmStartWaiting = platform::kWmUser + 2;

}  // namespace

// Where work tells that it has ended, from any thread. It tells the window once it is open,
// and never after the TJobs has gone.
struct TJobs::Mailbox {
  platform::Windowing& windowing;
  platform::Mutex mutex;
  platform::WindowId window GUARDED_BY(mutex) = platform::kNoWindow;
  bool closed GUARDED_BY(mutex) = false;
  std::vector<platform::JobId> ended GUARDED_BY(mutex);

  explicit Mailbox(platform::Windowing& ws) : windowing(ws) {}

  // Posted under the lock, so that nothing is posted once Close has returned.
  void Ended(platform::JobId job) {
    const platform::MutexLock lock(mutex);
    if (closed) return;
    ended.push_back(job);
    if (ended.size() == 1) Tell();
  }
  void Open(platform::WindowId opened) {
    const platform::MutexLock lock(mutex);
    window = opened;
    if (!ended.empty()) Tell();
  }
  // Jobs held back while a box was up, before any that ended since.
  void PutBack(const std::vector<platform::JobId>& jobs) {
    const platform::MutexLock lock(mutex);
    const bool told = !ended.empty();
    ended.insert(ended.begin(), jobs.begin(), jobs.end());
    if (!told && !ended.empty()) Tell();
  }
  std::vector<platform::JobId> Take() {
    const platform::MutexLock lock(mutex);
    return std::exchange(ended, {});
  }
  void Close() {
    const platform::MutexLock lock(mutex);
    closed = true;
  }

 private:
  void Tell() REQUIRES(mutex) {
    if (window != platform::kNoWindow) windowing.PostTo(window, kWmJobsEnded, 0, 0);
  }
};

TJobs::TJobs(TApplication& app) : app_(app), mailbox_(std::make_shared<Mailbox>(app.Windowing())) {
  if (app.Handle() != platform::kNoWindow) Open();
}

TJobs::~TJobs() {
  mailbox_->Close();
  for (const auto& [job, running] : jobs_) {
    if (running.worker_job != platform::kNoJob) app_.Platform().workers.Cancel(running.worker_job);
  }
}

void TJobs::Open() {
  if (window_) return;
  platform::WindowSpec desc;
  desc.kind = platform::WindowKind::kMessageOnly;
  const platform::WindowId id = app_.Windowing().NewWindow(desc, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create the jobs' window");
  window_ = UniqueWindow(app_, id);
  mailbox_->Open(id);
  if (!waiting_.empty()) app_.Windowing().PostTo(id, kWmStartWaiting, 0, 0);
}

void TJobs::Cancel(platform::JobId job) noexcept {
  const auto it = jobs_.find(job);
  // A job handed over has ended: there is nothing left to stop.
  if (it == jobs_.end()) return;
  const platform::JobId worker_job = it->second.worker_job;
  jobs_.erase(it);
  std::erase_if(waiting_, [job](const Waiting& waiting) { return waiting.job == job; });
  if (worker_job != platform::kNoJob) app_.Platform().workers.Cancel(worker_job);
}

TJobs::Job TJobs::StartHanding(Handed handed, platform::JobPriority priority, When when) {
  const platform::JobId job = next_job_++;
  jobs_.emplace(job, Running{platform::kNoJob, std::move(handed.handover)});
  Job owner(*this, job);
  if (when == When::kNow || !window_) {
    GiveToWorkers(job, std::move(handed.work), priority);
    return owner;
  }
  if (waiting_.empty()) app_.Windowing().PostTo(window_.get(), kWmStartWaiting, 0, 0);
  waiting_.push_back(Waiting{job, std::move(handed.work), priority});
  return owner;
}

void TJobs::GiveToWorkers(platform::JobId job, std::function<void(std::stop_token)> work,
                          platform::JobPriority priority) {
  auto told = [mailbox = mailbox_, job, work = std::move(work)](std::stop_token stop) {
    work(stop);
    mailbox->Ended(job);
  };
  const platform::JobId worker_job =
      app_.Platform().workers.Start(std::move(told), platform::JobDelivery{}, priority);
  // Serial workers may have run it to its end already, and it may even have been handed over.
  const auto it = jobs_.find(job);
  if (it != jobs_.end()) it->second.worker_job = worker_job;
}

void TJobs::StartWaiting() {
  for (Waiting& waiting : std::exchange(waiting_, {})) {
    GiveToWorkers(waiting.job, std::move(waiting.work), waiting.priority);
  }
}

void TJobs::LetGo() noexcept {
  if (--holds_ != 0 || ended_while_held_.empty()) return;
  mailbox_->PutBack(std::exchange(ended_while_held_, {}));
}

void TJobs::HandOver() {
  std::vector<platform::JobId> ended = mailbox_->Take();
  if (holds_ != 0) {
    ended_while_held_.insert(ended_while_held_.end(), ended.begin(), ended.end());
    return;
  }
  bool handed = false;
  for (const platform::JobId job : ended) {
    const auto it = jobs_.find(job);
    // A job cancelled after it had ended: its end is all that is left of it.
    if (it == jobs_.end()) continue;
    const std::function<void()> handover = std::move(it->second.handover);
    jobs_.erase(it);
    handed = true;
    app_.Guarded([&] {
      handover();
      return platform::LResult{0};
    });
  }
  if (handed && after_handovers_) after_handovers_();
}

platform::LResult TJobs::HandleMessage(platform::WindowId window, platform::MessageId id,
                                       platform::WParam wparam, platform::LParam lparam) {
  if (id == kWmStartWaiting) {
    StartWaiting();
    return 0;
  }
  if (id != kWmJobsEnded) return app_.Windowing().DefaultProc(window, id, wparam, lparam);
  HandOver();
  return 0;
}

}  // namespace framework
