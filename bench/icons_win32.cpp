// What the icons cost over the real platform: the items of "All Programs" filled as its first
// opening fills them, with their icons asked for, on the GUI thread; then the icons found on
// the workers, how many, and the workers' time per icon. Run under Wine in a prefix seeded with
// a catalogue whose entries name icons.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/menu/main_form.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(1);

// The real workers, timing each started job on the worker that runs it.
class TimedWorkers final : public platform::Workers {
 public:
  explicit TimedWorkers(platform::Workers& real) : real_(real) {}
  unsigned HardwareThreads() const override { return real_.HardwareThreads(); }
  platform::JobId Start(std::function<void(std::stop_token)> work,
                        const platform::JobDelivery& delivery,
                        platform::JobPriority priority) override {
    return real_.Start(
        [this, work = std::move(work)](std::stop_token stop) {
          const auto start = std::chrono::steady_clock::now();
          work(stop);
          worker_time_ += std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
          ++ended_;
        },
        delivery, priority);
  }
  void Cancel(platform::JobId job) noexcept override { real_.Cancel(job); }

  std::size_t Ended() const { return ended_; }
  std::chrono::microseconds WorkerTime() const {
    return std::chrono::microseconds(worker_time_.load());
  }

 private:
  platform::Workers& real_;
  std::atomic<std::size_t> ended_{0};
  std::atomic<std::chrono::microseconds::rep> worker_time_{0};
};

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  win32::Win32Platform system;
  const platform::Platform real = system.Bind();
  TimedWorkers workers(real.workers);
  platform::Platform platform{real.registry,   real.files,  real.processes, real.launcher,
                              real.windowing,  real.order,  workers,        real.icons,
                              real.file_store, real.streams};
  app::ProgramState state;
  framework::TApplication application(platform);
  app::MainForm& main_form = app::CreateProgramForms(application, state);
  main_form.RebuildProgramMenus();
  main_form.Icons().Prepare(platform.windowing.Dpi(platform::kNoWindow));

  const auto start = std::chrono::steady_clock::now();
  framework::TMenuItem& all = main_form.AllProgramsMenu();
  all.EnsureFilled();
  const double filled = MillisecondsSince(start);
  std::size_t items = 0;
  for (std::size_t i = 0; i < all.Count(); ++i) {
    all[i].EnsureFilled();  // the groups by initial, past the one-menu limit
    items += all[i].Count() == 0 ? 1 : all[i].Count();
  }
  app::MenuIcons& icons = main_form.Icons();
  const std::size_t asked = icons.Images().KeyCount();
  // Looks at the queue every millisecond rather than waiting in it: should an icon never come,
  // no message would end the wait, and the patience would never be asked.
  while (workers.Ended() < asked && std::chrono::steady_clock::now() - start < kPatience) {
    application.ProcessMessages();
    std::this_thread::sleep_for(kPoll);
  }
  application.ProcessMessages();  // the last results, handed to the images
  const double all_found = MillisecondsSince(start);
  std::size_t found = 0;
  for (framework::ImageKey key = 1; key <= asked; ++key) {
    if (icons.Images().IconOf(key) != platform::kNoIcon) ++found;
  }
  const auto worker = workers.WorkerTime();
  const std::size_t looked = workers.Ended();
  std::printf("%-40s %9.1f ms  (%zu items, %zu icons asked for)\n", "filling \"All Programs\"",
              filled, items, icons.Images().KeyCount());
  std::printf("%-40s %9.1f ms\n", "until every icon had come", all_found);
  std::printf("%-40s %9zu  (%zu distinct icons held)\n", "icons looked for and found", found,
              icons.Images().IconCount());
  std::printf(
      "%-40s %9.1f us\n", "worker time per icon",
      looked == 0 ? 0.0 : static_cast<double>(worker.count()) / static_cast<double>(looked));
  return 0;
}
