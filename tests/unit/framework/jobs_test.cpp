// Started jobs: the result reaches its handler on the GUI thread, from the message loop, unless
// the job was cancelled; a failure goes to the error box. Run over the serial substitute, where
// a job has ended when Start returns, and over real threads.

#include "framework/jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "framework/take_or_wait.h"
#include "platform/holding_work.h"
#include "platform/sim/sim_platform.h"
#include "platform/thread_workers.h"

namespace {

using Job = framework::TJobs::Job;

// The substitutes, with other workers in place of the serial ones when given.
platform::Platform Bind(sim::SimPlatform& sim, platform::Workers* workers) {
  const platform::Platform all = sim.Bind();
  return platform::Platform{all.registry,
                            all.files,
                            all.processes,
                            all.launcher,
                            all.windowing,
                            all.order,
                            workers != nullptr ? *workers : all.workers,
                            all.icons,
                            all.file_store,
                            all.streams};
}

// The program's side: an application over the substitutes.
struct Gui {
  explicit Gui(platform::Workers* workers = nullptr) : bound(Bind(sim, workers)) {
    application.Initialize();
  }
  // Runs the message loop until the quit that the last handler posts.
  void RunUntilQuit() {
    while (!application.Terminated()) application.HandleMessage();
  }

  sim::SimPlatform sim;
  platform::Platform bound;
  framework::TApplication application{bound};
};

TEST(Jobs, TheResultReachesItsHandlerUnlessCancelled) {
  const struct {
    const char* name;
    std::vector<int> cancelled;  // jobs whose owners go before the loop runs
    bool jobs_go;                // the TJobs itself goes before the loop runs
    std::vector<int> handed;
  } cases[] = {
      {"every job hands its result over, in order", {}, false, {0, 10, 20}},
      {"a cancelled job hands nothing over", {1}, false, {0, 20}},
      {"all cancelled", {0, 1, 2}, false, {}},
      {"the jobs gone", {}, true, {}},
  };
  for (const auto& c : cases) {
    Gui gui;
    std::vector<int> handed;
    auto jobs = std::make_unique<framework::TJobs>(gui.application);
    std::vector<Job> started;
    for (int i = 0; i < 3; ++i) {
      started.push_back(jobs->Start<int>([i](std::stop_token) { return i * 10; },
                                         [&](int result) { handed.push_back(result); }));
    }
    for (int i : c.cancelled) started[i].reset();
    if (c.jobs_go) {
      for (Job& job : started) job.release();  // their TJobs cancels them as it goes
      jobs.reset();
    }
    gui.sim.windows.At(1000, [&] { gui.application.Terminate(); });
    gui.RunUntilQuit();
    EXPECT_EQ(handed, c.handed) << c.name;
    if (jobs) {
      EXPECT_EQ(jobs->Pending(), 0u) << c.name;
    }
    EXPECT_TRUE(gui.sim.windows.Boxes().empty()) << c.name;
  }
}

TEST(Jobs, AFailureOfTheWorkGoesToTheErrorBox) {
  Gui gui;
  framework::TJobs jobs(gui.application);
  bool handed = false;
  gui.sim.windows.AnswerBox(platform::kIdOk);
  const Job job =
      jobs.Start<int>([](std::stop_token) -> int { throw std::runtime_error("No icon"); },
                      [&](int) { handed = true; });
  gui.sim.windows.At(1000, [&] { gui.application.Terminate(); });
  gui.RunUntilQuit();
  EXPECT_FALSE(handed);
  ASSERT_EQ(gui.sim.windows.Boxes().size(), 1u);
  EXPECT_EQ(gui.sim.windows.Boxes()[0].text, "No icon.");
}

// Over real threads: results come back to the GUI thread whichever order the jobs end in, and
// a job cancelled while it runs is told to stop and hands nothing over.
TEST(Jobs, OverThreadsResultsComeBackAndCancelledOnesStop) {
  platform::ThreadWorkers threads;
  Gui gui(&threads);
  framework::TJobs jobs(gui.application);
  const std::thread::id gui_thread = std::this_thread::get_id();
  std::vector<std::string> handed;
  std::vector<Job> started;
  for (int i = 0; i < 8; ++i) {
    started.push_back(
        jobs.Start<std::string>([i](std::stop_token) { return "icon " + std::to_string(i); },
                                [&](std::string result) {
                                  EXPECT_EQ(std::this_thread::get_id(), gui_thread);
                                  handed.push_back(std::move(result));
                                  if (handed.size() == 7) gui.application.Terminate();
                                }));
  }
  bool stopped = false;
  Job endless = jobs.Start<bool>(
      [](std::stop_token stop) {
        while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
      },
      [&](bool) { stopped = true; });
  started[3].reset();
  endless.reset();
  // The sim's clock stands still while workers run: the loop waits, in real time, for their
  // posts before it asks the clock for anything.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!gui.application.Terminated() && std::chrono::steady_clock::now() < deadline) {
    gui.application.ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::sort(handed.begin(), handed.end());
  EXPECT_EQ(handed, (std::vector<std::string>{"icon 0", "icon 1", "icon 2", "icon 4", "icon 5",
                                              "icon 6", "icon 7"}));
  EXPECT_FALSE(stopped);
  EXPECT_EQ(jobs.Pending(), 0u);
}

// Over real threads, with the workers alive throughout: letting a running job's owner go, or
// the TJobs itself, asks its work to stop at once, and its handler never runs.
TEST(Jobs, CancellingAsksTheRunningWorkToStopAtOnce) {
  const struct {
    const char* name;
    bool jobs_go;  // the TJobs goes, rather than the job's owner
  } cases[] = {{"the owner let go", false}, {"the TJobs gone", true}};
  for (const auto& c : cases) {
    platform::ThreadWorkers threads;
    Gui gui(&threads);
    testing_support::Holding holding;
    bool handed = false;
    auto jobs = std::make_unique<framework::TJobs>(gui.application);
    Job job = jobs->Start<int>(
        [&](std::stop_token stop) {
          holding.Run(stop);
          return 0;
        },
        [&](int) { handed = true; });
    holding.WaitBegun();
    if (c.jobs_go) {
      job.release();
      jobs.reset();
    } else {
      job.reset();
    }
    EXPECT_TRUE(holding.WaitEnded()) << c.name;
    EXPECT_TRUE(holding.Stopped()) << c.name;
    gui.application.ProcessMessages();
    EXPECT_FALSE(handed) << c.name;
  }
}

// A job's captures, its work's and its handler's, go once the handler has run: not when the
// TJobs or the workers go.
TEST(Jobs, AJobsCapturesGoOnceItsResultIsHandedOver) {
  for (const bool threaded : {false, true}) {
    platform::ThreadWorkers threads;
    Gui gui(threaded ? &threads : nullptr);
    framework::TJobs jobs(gui.application);
    auto for_work = std::make_shared<int>(1);
    auto for_handler = std::make_shared<int>(2);
    const std::weak_ptr<int> work_watch = for_work;
    const std::weak_ptr<int> handler_watch = for_handler;
    bool handed = false;
    const Job job =
        jobs.Start<int>([for_work = std::move(for_work)](std::stop_token) { return *for_work; },
                        [&handed, for_handler = std::move(for_handler)](int) { handed = true; });
    const auto deadline = std::chrono::steady_clock::now() + testing_support::kPatience;
    while (!handed && std::chrono::steady_clock::now() < deadline) {
      gui.application.ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(handed) << threaded;
    EXPECT_TRUE(work_watch.expired()) << threaded;
    EXPECT_TRUE(handler_watch.expired()) << threaded;
    EXPECT_EQ(jobs.Pending(), 0u) << threaded;
  }
}

// Over the serial workers holding their jobs: a TJobs that goes drops the jobs not yet begun,
// which never run.
TEST(Jobs, TheJobsGoneDropTheWorkNotYetBegun) {
  Gui gui;
  gui.sim.workers.Hold(true);
  bool ran = false;
  {
    framework::TJobs jobs(gui.application);
    for (int i = 0; i < 2; ++i) {
      jobs.Start<int>([&](std::stop_token) { return ran = true; }, [](int) {}).release();
    }
    EXPECT_EQ(gui.sim.workers.HeldCount(), 2u);
  }
  EXPECT_EQ(gui.sim.workers.HeldCount(), 0u);
  gui.sim.workers.RunHeld();
  EXPECT_FALSE(ran);
}

}  // namespace

namespace {

// Work taken before the application window exists is handed over once it does; work whose
// jobs go first is never handed over.
TEST(Jobs, WorkStartedBeforeTheWindowIsHandedOverOnceItExists) {
  for (const bool window_made : {true, false}) {
    sim::SimPlatform sim;
    platform::Platform bound = sim.Bind();
    int handed = 0;
    {
      framework::TApplication application(bound);
      Job job = application.Jobs().Start<int>([](std::stop_token) { return 7; },
                                              [&handed](int value) { handed += value; });
      application.ProcessMessages();
      EXPECT_EQ(handed, 0) << "nowhere to hand it over yet";
      if (window_made) application.Initialize();
      application.ProcessMessages();
    }
    EXPECT_EQ(handed, window_made ? 7 : 0) << window_made;
  }
}

// Take or wait: a result taken at once (its job not begun, so the taker makes it), taken later
// (made by its job, whose end is told), or never taken (its job let go, nothing made).
TEST(TakeOrWait, TakenAtOnceLaterOrNever) {
  for (const char* when : {"at once", "later", "never"}) {
    Gui gui;
    gui.sim.workers.Hold(true);
    int made = 0;
    int told = 0;
    {
      framework::TTakeOrWait<int> result(
          gui.application.Jobs(), [&made](std::stop_token) { return ++made; }, [&told] { ++told; });
      if (std::string(when) == "later") gui.sim.workers.RunHeld();
      if (std::string(when) != "never") {
        EXPECT_EQ(result.Take(), 1) << when;
      }
      gui.application.ProcessMessages();
    }
    gui.sim.workers.RunHeld();
    gui.application.ProcessMessages();
    EXPECT_EQ(made, std::string(when) == "never" ? 0 : 1) << when;
    EXPECT_EQ(told, std::string(when) == "later" ? 1 : 0) << when;
  }
}

}  // namespace
