// The scan of every uninstall key, timed with 1, 2, 4, 6 and 8 threads in flight (each key
// split into as many ranges), and with the program's own budget. Run under
// Wine in a prefix seeded with a catalogue (bench/menu_time.py --scan-threads does).
//
// Usage: scan_threads_win32 [ROUNDS]   (default 5; the median of the rounds is printed)

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_scan.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr unsigned kThreadCounts[] = {1, 2, 4, 6, 8};

// The keys' ranges read on budget.threads threads, largest first, as the program's jobs read
// them; how many programs they found.
std::size_t ScanOnThreads(app::ScanSeams seams, const std::vector<app::ScanPass>& passes,
                          const app::Options& options, const app::ScanBudget& budget) {
  const std::vector<app::ScanRange> ranges = app::PlanRanges(seams.registry, passes, budget);
  const std::vector<std::size_t> order = app::LargestFirst(ranges);
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> found{0};
  auto read = [&] {
    for (std::size_t i = next++; i < order.size(); i = next++) {
      found += app::ReadRange(seams, ranges[order[i]], options).size();
    }
  };
  std::vector<std::jthread> threads;
  for (unsigned t = 1; t < budget.threads; ++t) threads.emplace_back(read);
  read();
  threads.clear();
  return found;
}

double MedianMilliseconds(platform::Platform& platform, const app::ScanBudget& budget, int rounds,
                          std::size_t& found) {
  const app::Options options;
  const std::vector<app::ScanPass> passes = app::UninstallPasses(platform.registry);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    app::RemoteDrives drives(platform.files);
    const auto start = std::chrono::steady_clock::now();
    found = ScanOnThreads(app::ScanSeams(platform, drives), passes, options, budget);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5);
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  std::size_t found = 0;
  MedianMilliseconds(platform, app::ScanBudget{1, 1}, 1, found);  // the registry into memory
  for (const unsigned threads : kThreadCounts) {
    const double ms =
        MedianMilliseconds(platform, app::ScanBudget{threads, threads}, rounds, found);
    std::printf("scan, %u threads in flight: %8.1f ms  (%zu programs)\n", threads, ms, found);
  }
  const double ms = MedianMilliseconds(platform, app::kScanBudget, rounds, found);
  std::printf(
      "scan, the program's budget (%u threads, %u ranges a key; %u hardware threads): "
      "%8.1f ms\n",
      app::kScanBudget.threads, app::kScanBudget.ranges_per_pass,
      platform.workers.HardwareThreads(), ms);
  return 0;
}
