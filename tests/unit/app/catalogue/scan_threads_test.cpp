// The scan over real threads gives what it gives one job after another, and all its passes
// share the threads it may use. Run under ThreadSanitizer by the native-tsan preset.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/catalogue/catalogue_scan.h"
#include "app/catalogue/startup_catalogue.h"
#include "app/program.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_read_log.h"
#include "platform/thread_workers.h"

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kUninstall = "\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kLm32 = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node" + kUninstall;
const std::string kLm64 = "HKEY_LOCAL_MACHINE\\SOFTWARE" + kUninstall;
const std::string kCu = "HKEY_CURRENT_USER\\SOFTWARE" + kUninstall;

using app::RegistryView;
using app::UninstallRoot;
const std::vector<app::ScanPass> kStartUpPasses{{RegistryView::kDefault, UninstallRoot::kMachine},
                                                {RegistryView::k64Bit, UninstallRoot::kMachine},
                                                {RegistryView::kDefault, UninstallRoot::kUser}};

// Every entry the scan can read, whatever Windows' own list would show.
app::Options Everything() {
  app::Options options;
  options.show_system_components = true;
  return options;
}

// n entries under key, of every kind the scan tells apart: without a name, unreadable, dated
// by their value, by their uninstaller's file or by their icon's, and undated.
std::string Entries(const std::string& key, const std::string& tag, int n, sim::FileTable& files) {
  std::string reg;
  for (int i = 0; i < n; ++i) {
    char subkey[32];
    std::snprintf(subkey, sizeof subkey, "%s%04d", tag.c_str(), i);
    const std::string folder = "C:\\\\Apps\\\\" + std::string(subkey) + "\\\\";
    reg += "[" + key + subkey + "]\n";
    if (i % 11 != 5) reg += "\"DisplayName\"=\"" + tag + " " + std::to_string(i) + "\"\n";
    if (i % 13 == 7) reg += "\"NoRemove\"=\"1\"\n";  // unreadable as a flag
    if (i % 4 == 0) reg += "\"InstallDate\"=\"2021" + std::to_string(1001 + i % 300) + "\"\n";
    reg += "\"UninstallString\"=\"" + folder + "unins.exe /S\"\n";
    reg += "\"DisplayIcon\"=\"" + folder + "app.exe,0\"\n";
    const std::string path = "C:\\Apps\\" + std::string(subkey) + "\\";
    if (i % 4 == 1) files.AddFile(path + "unins.exe", {2019, 1 + i % 12, 1 + i % 28});
    if (i % 4 == 2) files.AddFile(path + "app.exe", {2020, 1 + i % 12, 1 + i % 28});
    reg += "\n";
  }
  return reg;
}

// Real threads, as many as the row gives: the machine they report, and the most a batch gets.
class CappedThreads final : public platform::Workers {
 public:
  explicit CappedThreads(unsigned threads) : threads_(threads) {}
  unsigned HardwareThreads() const override { return threads_; }
  void RunAll(const std::vector<std::function<void()>>& jobs, unsigned max_threads) override {
    real_.RunAll(jobs, std::min(max_threads, threads_));
  }
  platform::JobId Start(std::function<void(std::stop_token)> work,
                        const platform::JobDelivery& delivery,
                        platform::JobPriority priority) override {
    return real_.Start(std::move(work), delivery, priority);
  }
  void Cancel(platform::JobId job) noexcept override { real_.Cancel(job); }

 private:
  platform::ThreadWorkers real_;
  const unsigned threads_;
};

std::vector<std::string> Lines(const std::vector<app::ScannedProgram>& found) {
  std::vector<std::string> lines;
  for (const app::ScannedProgram& scanned : found) {
    lines.push_back(scanned.program.name + "|" + scanned.program.command + "|" +
                    scanned.date.value_or("-"));
  }
  return lines;
}

TEST(ScanThreads, OneToEightThreadsReadWhatOneJobAfterAnotherReads) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 400, sim.files) +
                           Entries(kLm64, "B", 300, sim.files) + Entries(kCu, "C", 60, sim.files));
  const app::Options filters = Everything();
  // One drive cache for every scan and thread, as in a run; the reads written down as they come.
  app::RemoteDrives drives(sim.files);
  sim::ReadLog log(sim.registry);
  const std::vector<std::string> serial = Lines(app::ScanPasses(
      app::ScanSeams(log, sim.files, sim.workers, drives), kStartUpPasses, filters));
  ASSERT_GT(serial.size(), 600u);
  const std::size_t serial_reads = log.Count();
  for (unsigned threads = 1; threads <= 8; ++threads) {
    CappedThreads workers(threads);
    log.Clear();
    const app::ScanSeams seams(log, sim.files, workers, drives);
    EXPECT_EQ(Lines(app::ScanPasses(seams, kStartUpPasses, filters)), serial)
        << threads << " threads";
    EXPECT_EQ(log.Count(), serial_reads) << threads << " threads";
    EXPECT_EQ(sim.registry.OpenHandleCount(), 0u) << threads << " threads";
  }
}

// A scan runs on its budget's threads in all, whatever its passes and the machine; the largest
// ranges are handed out first, so that a small pass's range does not keep a thread busy at the
// end. The machine's pass is split into ranges of 32 entries at least, the user's is one.
TEST(ScanThreads, AScanRunsOnItsThreadsInAllLargestRangesFirst) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 200, sim.files) +
                           Entries(kCu, "C", 20, sim.files));
  constexpr std::size_t kRanges = 200 / app::kMinRangeSize + 1;
  std::size_t jobs_before = 0;
  app::RemoteDrives drives(sim.files);
  for (const unsigned hardware_threads : {1u, 2u, 4u, 16u}) {
    sim.workers.SetHardwareThreads(hardware_threads);
    const std::size_t queried_before = sim.files.Queries().size();
    // The user's pass, the smallest, comes first in the list but not among the jobs.
    app::ScanPasses(app::ScanSeams(sim.Bind(), drives),
                    {{RegistryView::kDefault, UninstallRoot::kUser},
                     {RegistryView::kDefault, UninstallRoot::kMachine}},
                    Everything());
    EXPECT_EQ(sim.workers.LastThreadLimit(), app::kScanBudget.threads) << hardware_threads;
    EXPECT_EQ(sim.workers.JobsRun() - jobs_before, kRanges) << hardware_threads;
    jobs_before = sim.workers.JobsRun();
    EXPECT_EQ(sim.files.Queries().at(queried_before).substr(0, 9), "C:\\APPS\\A")
        << hardware_threads;
  }
}

std::vector<std::string> Lines(const app::Catalogue& catalogue) {
  std::vector<std::string> lines;
  for (const app::CatalogueLine& line : catalogue.programs) lines.push_back(line.text);
  for (const app::CatalogueLine& line : catalogue.dated) lines.push_back(line.text);
  return lines;
}

// Read from the start on a job of its own, on real threads, the catalogue is what reading it
// there and then gives, however the job and the taking meet; and nothing is read twice.
TEST(StartupCatalogue, GivesWhatTheScanGivesHoweverTheJobAndTheTakingMeet) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 300, sim.files) +
                           Entries(kLm64, "B", 200, sim.files) + Entries(kCu, "C", 40, sim.files));
  const app::Options options;
  app::RemoteDrives drives(sim.files);
  sim::ReadLog serial_log(sim.registry);
  const std::vector<std::string> expected =
      Lines(app::ScanCatalogue(app::ScanSeams(serial_log, sim.files, sim.workers, drives),
                               app::UninstallPasses(sim.registry), options));
  ASSERT_GT(expected.size(), 400u);
  for (const bool take_at_once : {true, false}) {
    for (unsigned threads = 1; threads <= 4; ++threads) {
      CappedThreads workers(threads);
      sim::ReadLog log(sim.registry);
      platform::Platform reading{log,       sim.files, sim.processes, sim.launcher,  sim.windows,
                                 sim.order, workers,   sim.icons,     sim.file_store};
      app::StartupCatalogue startup(reading, std::make_shared<app::RemoteDrives>(sim.files),
                                    options);
      if (!take_at_once) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      EXPECT_EQ(Lines(startup.Take()), expected) << threads << " threads";
      EXPECT_EQ(log.Count(), serial_log.Count()) << threads << " threads";
    }
  }
}

// A job that has not begun when the menus are built is not waited for: the GUI thread reads,
// and the job, let go later, reads nothing.
TEST(StartupCatalogue, AJobNotBegunIsReadInsteadOfAwaited) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 40, sim.files));
  sim.workers.Hold(true);
  platform::Platform bound = sim.Bind();
  auto startup = std::make_unique<app::StartupCatalogue>(
      bound, std::make_shared<app::RemoteDrives>(sim.files), app::Options{});
  const std::vector<std::string> taken = Lines(startup->Take());
  EXPECT_FALSE(taken.empty());
  const std::size_t queried = sim.files.Queries().size();
  sim.workers.RunHeld();
  EXPECT_EQ(sim.files.Queries().size(), queried);
  startup.reset();
  sim.workers.RunHeld();
  EXPECT_EQ(sim.files.Queries().size(), queried);
}

// A program started minimised waits for the user: its menu is read when it is restored.
TEST(StartupCatalogue, StartsAtOnceUnlessTheProgramStartsMinimised) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  EXPECT_NE(app::StartCatalogueReading(bound, app::Options{}), nullptr);
  sim.windows.SetStartupShowState(platform::kSwShowMinNoActive);
  EXPECT_EQ(app::StartCatalogueReading(bound, app::Options{}), nullptr);
}

}  // namespace
