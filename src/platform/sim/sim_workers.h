#pragma once

// Workers without threads: the jobs run one after another, in the list's order, on the calling
// thread, so a test sees the same result on every run. The hardware thread count is set by the
// test, to exercise how work is split.

#include "platform/workers.h"

namespace sim {

class SerialWorkers final : public platform::Workers {
 public:
  static constexpr unsigned kDefaultHardwareThreads = 2;

  unsigned HardwareThreads() const override { return hardware_threads_; }
  void SetHardwareThreads(unsigned threads) { hardware_threads_ = threads; }
  // Each job runs to its end before the next starts; the first failure is raised once all ran.
  void RunAll(const std::vector<std::function<void()>>& jobs) override;
  // How many jobs ran, over every RunAll.
  std::size_t JobsRun() const { return jobs_run_; }

 private:
  unsigned hardware_threads_ = kDefaultHardwareThreads;
  std::size_t jobs_run_ = 0;
};

}  // namespace sim
