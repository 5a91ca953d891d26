#include "app/icons/icon_jobs.h"

#include <exception>

namespace app {

void IconJobs::Start(framework::ImageKey key, Find find) {
  running_.insert_or_assign(
      key, jobs_.StartFromLoop<std::optional<FoundIcon>>(
               [find = std::move(find)](std::stop_token stop) -> std::optional<FoundIcon> {
                 if (stop.stop_requested()) return std::nullopt;
                 try {
                   return find();
                 } catch (const std::exception&) {
                   return std::nullopt;  // no icon: the item keeps its placeholder
                 }
               },
               [this, key](std::optional<FoundIcon> found) { Arrived(key, std::move(found)); },
               platform::JobPriority::kBackground));
}

void IconJobs::Arrived(framework::ImageKey key, std::optional<FoundIcon> found) {
  running_.erase(key);
  if (found) results_.push_back(IconResult{key, std::move(*found)});
}

std::vector<IconResult> IconJobs::TakeResults() {
  return std::exchange(results_, {});
}

void IconJobs::Cancel() {
  running_.clear();  // each owner cancels its job
  results_.clear();
}

}  // namespace app
