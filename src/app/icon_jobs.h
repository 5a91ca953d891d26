#pragma once

// Icons looked for on workers, their results handed to the GUI thread through its queue. Jobs
// started while a submenu is being filled wait until the GUI thread is back in its loop, so
// that no worker competes with the sizing and showing of the submenu: the message that lets
// them go is posted at the first start. A worker posts the same message when results start
// waiting; the GUI thread takes them all at once.
// Cancelling drops what is waiting and what is still to run; a job already running finishes
// into nothing, and nobody waits for it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "app/icon_finder.h"
#include "framework/menu_images.h"
#include "platform/background.h"
#include "platform/windowing.h"

namespace app {

struct IconResult {
  framework::ImageKey key = framework::kNoImage;
  FoundIcon found;
};

class IconJobs {
 public:
  using Find = std::function<FoundIcon()>;

  // Results are announced to window as message.
  IconJobs(platform::Background& background, platform::Windowing& ws, platform::WindowId window,
           platform::MessageId message);
  ~IconJobs();
  IconJobs(const IconJobs&) = delete;
  IconJobs& operator=(const IconJobs&) = delete;

  void Start(framework::ImageKey key, Find find);
  // GUI thread, on the message: lets the jobs started since go to the workers.
  void StartWaiting();
  // GUI thread: the results waiting, in the order they came.
  std::vector<IconResult> TakeResults();
  void Cancel();

  // Icons found so far, and the time the workers took for them.
  std::size_t Found() const;
  std::chrono::microseconds WorkerTime() const;

 private:
  struct Shared {
    mutable std::mutex lock;
    std::vector<IconResult> results;
    bool cancelled = false;
    bool announced = false;
    std::size_t found = 0;
    std::chrono::microseconds worker_time{0};
    platform::Windowing* ws = nullptr;
    platform::WindowId window = platform::kNoWindow;
    platform::MessageId message = 0;
  };
  static void Run(const std::shared_ptr<Shared>& shared, framework::ImageKey key, const Find& find);

  platform::Background& background_;
  std::shared_ptr<Shared> shared_;
  std::vector<std::pair<framework::ImageKey, Find>> waiting_;  // GUI thread only
};

}  // namespace app
