#pragma once

// Background work without threads: a job runs on the calling thread, at once, so a test sees
// the same order on every run. Held, jobs wait until the test lets them run, to look at what
// the program shows meanwhile.

#include <cstddef>
#include <deque>
#include <functional>

#include "platform/background.h"

namespace sim {

class SerialBackground final : public platform::Background {
 public:
  void Start(std::function<void()> job) override;

  void Hold(bool hold) { held_ = hold; }
  // Called at each start, before the job is run or held: a test's look at the moment.
  void WatchStarts(std::function<void()> watch) { watch_ = std::move(watch); }
  // Runs the held jobs, in the order started, and those they start.
  void RunHeld();
  // Drops the held jobs unrun, as the end of the program does.
  void DropHeld() { waiting_.clear(); }
  std::size_t HeldCount() const { return waiting_.size(); }
  std::size_t JobsRun() const { return jobs_run_; }

 private:
  bool held_ = false;
  std::function<void()> watch_;
  std::deque<std::function<void()>> waiting_;
  std::size_t jobs_run_ = 0;
};

}  // namespace sim
