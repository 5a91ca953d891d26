#include "app/icons/icon_jobs.h"

#include <exception>

namespace app {

IconJobs::IconJobs(framework::TJobs& jobs, platform::Windowing& ws, platform::WindowId window,
                   platform::MessageId message)
    : jobs_(jobs), ws_(ws), window_(window), message_(message) {}

void IconJobs::Start(framework::ImageKey key, Find find) {
  if (waiting_.empty()) Announce();
  waiting_.emplace_back(key, std::move(find));
}

void IconJobs::StartWaiting() {
  for (auto& [key, find] : std::exchange(waiting_, {})) {
    running_.insert_or_assign(
        key,
        jobs_.Start<std::optional<FoundIcon>>(
            [find = std::move(find)](std::stop_token stop) -> std::optional<FoundIcon> {
              if (stop.stop_requested()) return std::nullopt;
              try {
                return find();
              } catch (const std::exception&) {
                return std::nullopt;  // no icon: the item keeps its placeholder
              }
            },
            [this, key = key](std::optional<FoundIcon> found) { Arrived(key, std::move(found)); },
            platform::JobPriority::kBackground));
  }
}

void IconJobs::Arrived(framework::ImageKey key, std::optional<FoundIcon> found) {
  running_.erase(key);
  if (!found) return;
  results_.push_back(IconResult{key, std::move(*found)});
  if (announced_) return;
  Announce();
}

void IconJobs::Announce() {
  announced_ = true;
  ws_.PostTo(window_, message_, 0, 0);
}

std::vector<IconResult> IconJobs::TakeResults() {
  announced_ = false;
  return std::exchange(results_, {});
}

void IconJobs::Cancel() {
  waiting_.clear();
  running_.clear();  // each owner cancels its job
  results_.clear();
}

}  // namespace app
