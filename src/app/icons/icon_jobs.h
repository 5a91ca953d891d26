#pragma once

// Icons looked for as background jobs, their results handed to the GUI thread. Jobs asked for
// while a submenu is being filled wait until the GUI thread is back in its loop, so that no
// worker competes with the sizing and showing of the submenu: the message that lets them go is
// posted at the first request. The same message tells that results are waiting, once for
// however many arrive before the GUI thread takes them all.
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

  // The message is posted to window, on the GUI thread, when jobs may start and when results
  // are waiting.
  IconJobs(framework::TJobs& jobs, platform::Windowing& ws, platform::WindowId window,
           platform::MessageId message);
  IconJobs(const IconJobs&) = delete;
  IconJobs& operator=(const IconJobs&) = delete;

  void Start(framework::ImageKey key, Find find);
  // On the message: lets the jobs asked for since go to the workers.
  void StartWaiting();
  // On the message: the results waiting, in the order they came.
  std::vector<IconResult> TakeResults();
  void Cancel();

 private:
  void Announce();
  void Arrived(framework::ImageKey key, std::optional<FoundIcon> found);

  framework::TJobs& jobs_;
  platform::Windowing& ws_;
  platform::WindowId window_;
  platform::MessageId message_;
  std::vector<std::pair<framework::ImageKey, Find>> waiting_;
  std::vector<IconResult> results_;
  bool announced_ = false;
  std::map<framework::ImageKey, framework::TJobs::Job> running_;
};

}  // namespace app
