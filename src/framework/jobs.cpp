#include "framework/jobs.h"

#include <stdexcept>

#include "framework/application.h"

namespace framework {
namespace {

// Posted to the jobs' window when a job has ended, its id as wparam.
constexpr platform::MessageId kWmJobEnded = platform::kWmUser + 1;

}  // namespace

TJobs::TJobs(TApplication& app) : app_(app) {
  platform::WindowSpec desc;
  desc.kind = platform::WindowKind::kMessageOnly;
  const platform::WindowId id = app.Windowing().NewWindow(desc, this);
  if (id == platform::kNoWindow) throw std::runtime_error("Cannot create the jobs' window");
  window_ = UniqueWindow(app, id);
}

TJobs::~TJobs() {
  for (const auto& [job, handover] : handovers_) app_.Platform().workers.Cancel(job);
}

void TJobs::Cancel(platform::JobId job) noexcept {
  // A job handed over has ended: there is nothing left to stop.
  if (handovers_.erase(job) == 0) return;
  app_.Platform().workers.Cancel(job);
}

TJobs::Job TJobs::StartHanding(std::function<void(std::stop_token)> work,
                               std::function<void()> handover, platform::JobPriority priority) {
  const platform::JobDelivery delivery{&app_.Windowing(), window_.get(), kWmJobEnded};
  const platform::JobId job = app_.Platform().workers.Start(std::move(work), delivery, priority);
  Job owner(*this, job);
  handovers_.emplace(job, std::move(handover));
  return owner;
}

void TJobs::LetGo() noexcept {
  if (--holds_ != 0) return;
  for (const platform::JobId job : std::exchange(ended_while_held_, {})) {
    app_.Windowing().PostTo(window_.get(), kWmJobEnded, static_cast<platform::WParam>(job), 0);
  }
}

platform::LResult TJobs::HandleMessage(platform::WindowId window, platform::MessageId id,
                                       platform::WParam wparam, platform::LParam lparam) {
  if (id != kWmJobEnded) return app_.Windowing().DefaultProc(window, id, wparam, lparam);
  const auto it = handovers_.find(static_cast<platform::JobId>(wparam));
  // A job cancelled after it had posted: its message is all that is left of it.
  if (it == handovers_.end()) return 0;
  if (holds_ != 0) {
    ended_while_held_.push_back(it->first);
    return 0;
  }
  const std::function<void()> handover = std::move(it->second);
  handovers_.erase(it);
  return app_.Guarded([&] {
    handover();
    return platform::LResult{0};
  });
}

}  // namespace framework
