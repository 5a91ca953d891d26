// The workers on Windows threads: every job of a batch runs, all of them at once, and the first
// failure in the list's order reaches the caller once every job has ended; a started job's end
// reaches the GUI thread's window through its queue.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/thread_workers.h"
#include "platform/win32/windowing.h"
#include "window_test_support.h"

namespace {

using namespace std::chrono_literals;

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

TEST(Workers, AStartedJobsEndIsPostedToTheGuiThreadsWindow) {
  constexpr platform::MessageId kEnded = platform::kWmUser + 9;
  win32::Windowing windowing;
  win32_test::Recorder recorder(windowing);
  const win32_test::TestWindow window(windowing, {}, &recorder);
  const DWORD gui_thread = ::GetCurrentThreadId();
  DWORD work_thread = 0;
  platform::JobId ended = platform::kNoJob;
  {
    platform::ThreadWorkers workers;
    ended = workers.Start([&](std::stop_token) { work_thread = ::GetCurrentThreadId(); },
                          {&windowing, window.id(), kEnded}, platform::JobPriority::kNormal);
    ASSERT_TRUE(win32_test::PumpUntil(
        windowing, [&] { return recorder.Count(kEnded) == 1; }, 10s));
  }
  EXPECT_NE(work_thread, gui_thread);
  const auto it = std::find_if(recorder.seen.begin(), recorder.seen.end(),
                               [&](const platform::Message& m) { return m.id == kEnded; });
  ASSERT_NE(it, recorder.seen.end());
  EXPECT_EQ(it->wparam, ended);
}

}  // namespace
