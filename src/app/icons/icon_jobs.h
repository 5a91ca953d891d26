#pragma once

// Icons looked for as background jobs, their results handed to the GUI thread by the jobs. Jobs
// asked for while a submenu is being filled go to the workers once the GUI thread is back in
// its loop, so that no worker competes with the sizing and showing of the submenu. Results that
// arrive together are taken together, after the jobs' batch.
// A job gets the icon seams alone, never a window. Cancelling drops what is waiting and what is
// still to run; a job already running finishes into nothing, and nobody waits for it.

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "app/icons/icon_finder.h"
#include "framework/jobs.h"
#include "framework/menu_images.h"
#include "platform/windowing.h"

namespace app {

struct IconResult {
  framework::ImageKey key = framework::kNoImage;
  FoundIcon found;
};

class IconJobs {
 public:
  // Runs on a worker: it may use only the seams that are safe from any thread.
  using Find = std::function<FoundIcon()>;

  explicit IconJobs(framework::TJobs& jobs) : jobs_(jobs) {}
  IconJobs(const IconJobs&) = delete;
  IconJobs& operator=(const IconJobs&) = delete;

  void Start(framework::ImageKey key, Find find);
  // After the jobs' batch: the results waiting, in the order they came.
  std::vector<IconResult> TakeResults();
  void Cancel();

 private:
  void Arrived(framework::ImageKey key, std::optional<FoundIcon> found);

  framework::TJobs& jobs_;
  std::vector<IconResult> results_;
  std::map<framework::ImageKey, framework::TJobs::Job> running_;
};

}  // namespace app
