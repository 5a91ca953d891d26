// The workers over real threads: a batch runs on no more threads than it is given, and started
// jobs post their end to the GUI thread's queue, unless cancelled; nothing waits for a job that
// is asked to stop. The queue is the simulated window system's, which any thread may post to.

#include "platform/thread_workers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <latch>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/holding_work.h"
#include "platform/sim/sim_windowing.h"

namespace {

using testing_support::Holding;
using testing_support::kPatience;
constexpr platform::JobPriority kNormal = platform::JobPriority::kNormal;

using namespace std::chrono_literals;

// Counts the jobs running at once, and the most there ever were.
class Overlap {
 public:
  void Enter() {
    const std::scoped_lock lock(mutex_);
    peak_ = std::max(peak_, ++running_);
  }
  void Leave() {
    const std::scoped_lock lock(mutex_);
    --running_;
  }
  unsigned Peak() const {
    const std::scoped_lock lock(mutex_);
    return peak_;
  }

 private:
  mutable std::mutex mutex_;
  unsigned running_ = 0;
  unsigned peak_ = 0;
};

constexpr platform::MessageId kEnded = platform::kWmUser + 7;

// A window on the simulated GUI thread that started jobs post to.
struct Gui {
  struct NoHandler : platform::WindowHandler {
    platform::LResult HandleMessage(platform::WindowId, platform::MessageId, platform::WParam,
                                    platform::LParam) override {
      return 0;
    }
  } handler;
  sim::WindowSystem windows;
  platform::WindowId window = windows.NewWindow({}, &handler);

  platform::JobDelivery Delivery() { return {&windows, window, kEnded}; }
  // Waits, in real time, until n messages are queued; then takes them all.
  std::set<platform::JobId> Ended(std::size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (windows.QueuedMessageCount() < n && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(1ms);
    }
    std::set<platform::JobId> ended;
    platform::Message message;
    while (windows.PeekNext(message)) {
      EXPECT_EQ(message.window, window);
      EXPECT_EQ(message.id, kEnded);
      ended.insert(message.wparam);
    }
    return ended;
  }
};

TEST(ThreadWorkers, StartedJobsPostTheirEndUnlessCancelled) {
  Gui gui;
  std::mutex mutex;
  std::vector<int> results(6, 0);
  std::set<platform::JobId> posted;
  {
    platform::ThreadWorkers workers;
    std::vector<platform::JobId> ids;
    for (int i = 0; i < 6; ++i) {
      ids.push_back(workers.Start(
          [&, i](std::stop_token) {
            const std::scoped_lock lock(mutex);
            results[i] = i * i;
          },
          gui.Delivery(), kNormal));
    }
    EXPECT_EQ(std::set<platform::JobId>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(std::count(ids.begin(), ids.end(), platform::kNoJob), 0);
    posted = gui.Ended(ids.size());
    EXPECT_EQ(posted, std::set<platform::JobId>(ids.begin(), ids.end()));
    workers.Cancel(ids[0]);  // ended: nothing to stop
  }
  EXPECT_EQ(results, (std::vector<int>{0, 1, 4, 9, 16, 25}));
}

TEST(ThreadWorkers, CancellingStopsRunningWorkAndDropsWaitingWork) {
  Gui gui;
  std::vector<Holding> holding(platform::ThreadWorkers::kStartedJobThreads);
  bool waiting_ran = false;
  {
    platform::ThreadWorkers workers;
    std::vector<platform::JobId> running;
    for (Holding& work : holding) {
      running.push_back(
          workers.Start([&](std::stop_token stop) { work.Run(stop); }, gui.Delivery(), kNormal));
      work.WaitBegun();
    }
    // Every thread is taken: this one waits, and is cancelled before it begins.
    const platform::JobId waiting =
        workers.Start([&](std::stop_token) { waiting_ran = true; }, gui.Delivery(), kNormal);
    workers.Cancel(waiting);
    workers.Cancel(running[0]);
    // The stop request reaches the work now, not when the workers go.
    EXPECT_TRUE(holding[0].WaitEnded());
    EXPECT_TRUE(holding[0].Stopped());
    holding[1].Release();
    // Only the released job posts: the cancelled one never does, though its work ends too.
    EXPECT_EQ(gui.Ended(1), std::set<platform::JobId>{running[1]});
  }  // joins: every thread has ended here
  EXPECT_TRUE(holding[0].Stopped());
  EXPECT_FALSE(holding[1].Stopped());
  EXPECT_FALSE(waiting_ran);
  EXPECT_EQ(gui.windows.QueuedMessageCount(), 0u);
}

TEST(ThreadWorkers, GoingAwayStopsWhatRunsWithoutWaitingForItsWork) {
  Gui gui;
  Holding holding;
  const auto began = std::chrono::steady_clock::now();
  {
    platform::ThreadWorkers workers;
    workers.Start([&](std::stop_token stop) { holding.Run(stop); }, gui.Delivery(), kNormal);
    holding.WaitBegun();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - began, kPatience / 2);
  EXPECT_TRUE(holding.Stopped());
  EXPECT_EQ(gui.windows.QueuedMessageCount(), 0u);
}

// A job's captures go as soon as its work has returned, before its end is posted: not when the
// thread takes its next job, nor when the workers go.
TEST(ThreadWorkers, AJobsCapturesGoWhenItsWorkReturns) {
  Gui gui;
  platform::ThreadWorkers workers;
  auto token = std::make_shared<int>(0);
  const std::weak_ptr<int> watch = token;
  workers.Start([token = std::move(token)](std::stop_token) {}, gui.Delivery(), kNormal);
  EXPECT_EQ(gui.Ended(1).size(), 1u);
  EXPECT_TRUE(watch.expired());
}

// Waiting normal jobs begin before waiting background ones.
TEST(ThreadWorkers, NormalJobsGoBeforeBackgroundOnes) {
  Gui gui;
  std::vector<Holding> holding(platform::ThreadWorkers::kStartedJobThreads);
  std::mutex mutex;
  std::vector<std::string> order;
  {
    platform::ThreadWorkers workers;
    for (Holding& work : holding) {
      workers.Start([&](std::stop_token stop) { work.Run(stop); }, gui.Delivery(), kNormal);
      work.WaitBegun();
    }
    for (const auto& [name, priority] :
         {std::pair{"icon", platform::JobPriority::kBackground}, std::pair{"scan", kNormal}}) {
      workers.Start(
          [&, name = std::string(name)](std::stop_token) {
            const std::scoped_lock lock(mutex);
            order.push_back(name);
          },
          gui.Delivery(), priority);
    }
    holding[0].Release();
    gui.Ended(3);
    holding[1].Release();
  }
  EXPECT_EQ(order, (std::vector<std::string>{"scan", "icon"}));
}

}  // namespace
