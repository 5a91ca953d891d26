#include "app/icon_jobs.h"

#include <exception>

namespace app {

IconJobs::IconJobs(platform::Background& background, platform::Windowing& ws,
                   platform::WindowId window, platform::MessageId message)
    : background_(background), shared_(std::make_shared<Shared>()) {
  shared_->ws = &ws;
  shared_->window = window;
  shared_->message = message;
}

IconJobs::~IconJobs() {
  Cancel();
}

void IconJobs::Start(framework::ImageKey key, Find find) {
  if (waiting_.empty()) shared_->ws->PostTo(shared_->window, shared_->message, 0, 0);
  waiting_.emplace_back(key, std::move(find));
}

void IconJobs::StartWaiting() {
  for (auto& job : std::exchange(waiting_, {})) {
    background_.Start([shared = shared_, key = job.first, find = std::move(job.second)] {
      Run(shared, key, find);
    });
  }
}

void IconJobs::Run(const std::shared_ptr<Shared>& shared, framework::ImageKey key,
                   const Find& find) {
  {
    const std::lock_guard hold(shared->lock);
    if (shared->cancelled) return;
  }
  const auto started = std::chrono::steady_clock::now();
  IconResult result{key, {}};
  try {
    result.found = find();
  } catch (const std::exception&) {
    return;  // no icon: the item keeps its placeholder
  }
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  const std::lock_guard hold(shared->lock);
  // After a cancel the window and its platform may be gone: nothing is touched but the result,
  // which is destroyed here.
  if (shared->cancelled) return;
  ++shared->found;
  shared->worker_time += took;
  shared->results.push_back(std::move(result));
  if (shared->announced) return;
  shared->announced = true;
  shared->ws->PostTo(shared->window, shared->message, 0, 0);
}

std::vector<IconResult> IconJobs::TakeResults() {
  const std::lock_guard hold(shared_->lock);
  shared_->announced = false;
  return std::exchange(shared_->results, {});
}

void IconJobs::Cancel() {
  waiting_.clear();
  std::vector<IconResult> dropped;
  const std::lock_guard hold(shared_->lock);
  shared_->cancelled = true;
  dropped.swap(shared_->results);
}

std::size_t IconJobs::Found() const {
  const std::lock_guard hold(shared_->lock);
  return shared_->found;
}

std::chrono::microseconds IconJobs::WorkerTime() const {
  const std::lock_guard hold(shared_->lock);
  return shared_->worker_time;
}

}  // namespace app
