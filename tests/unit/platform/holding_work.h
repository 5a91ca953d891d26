#pragma once

// Work that holds its thread until it is asked to stop, or released: for tests of what
// cancelling does while a job runs.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace testing_support {

inline constexpr auto kPatience = std::chrono::seconds(10);  // far beyond any step here

class Holding {
 public:
  void Run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    began_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, stop, kPatience, [&] { return released_; });
    stopped_ = stop.stop_requested();
    ended_ = true;
    changed_.notify_all();
  }
  void WaitBegun() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kPatience, [&] { return began_; });
  }
  // Whether the work ended within the patience.
  bool WaitEnded() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return ended_; });
  }
  void Release() {
    const std::scoped_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  bool Stopped() {
    const std::scoped_lock lock(mutex_);
    return stopped_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable_any changed_;
  bool began_ = false;
  bool released_ = false;
  bool stopped_ = false;
  bool ended_ = false;
};

}  // namespace testing_support
