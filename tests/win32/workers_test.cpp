// The real workers: every job runs, all of them at once, and the first failure in the list's
// order reaches the caller once every job has ended.

#include "platform/win32/workers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr auto kMeetingTime = std::chrono::seconds(10);

// Each job waits here until every job has arrived: only jobs that run at once all meet.
class Meeting {
 public:
  explicit Meeting(std::size_t expected) : expected_(expected) {}
  bool Arrive() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    all_.notify_all();
    return all_.wait_for(lock, kMeetingTime, [&] { return arrived_ == expected_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable all_;
  std::size_t arrived_ = 0;
  const std::size_t expected_;
};

TEST(Workers, RunEveryJobAtOnceAndRaiseTheFirstFailure) {
  const struct {
    std::size_t jobs;
    std::vector<std::size_t> failing;
  } cases[] = {{0, {}}, {1, {}}, {6, {}}, {1, {0}}, {4, {3, 1}}, {5, {0, 4}}};
  for (const auto& c : cases) {
    win32::Workers workers;
    Meeting meeting(c.jobs);
    std::vector<int> met(c.jobs, 0);
    std::vector<std::function<void()>> jobs;
    for (std::size_t i = 0; i < c.jobs; ++i) {
      jobs.push_back([&, i] {
        met[i] = meeting.Arrive() ? 1 : 0;
        for (std::size_t failing : c.failing) {
          if (failing == i) throw std::runtime_error("job " + std::to_string(i));
        }
      });
    }
    std::string raised;
    try {
      workers.RunAll(jobs);
    } catch (const std::runtime_error& failure) {
      raised = failure.what();
    }
    EXPECT_EQ(met, std::vector<int>(c.jobs, 1)) << c.jobs << " jobs";
    std::size_t first = c.jobs;
    for (std::size_t failing : c.failing) first = std::min(first, failing);
    EXPECT_EQ(raised, c.failing.empty() ? "" : "job " + std::to_string(first)) << c.jobs;
  }
  EXPECT_GE(win32::Workers().HardwareThreads(), 1u);
}

}  // namespace
