// The catalogue read by jobs over real threads gives what one thread reads, and its ranges go to
// the workers largest first. Run under ThreadSanitizer by the native-tsan preset.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/catalogue/catalogue_reading.h"
#include "app/catalogue/catalogue_scan.h"
#include "app/program.h"
#include "framework/application.h"
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

std::vector<std::string> Lines(const app::Catalogue& catalogue) {
  std::vector<std::string> lines;
  for (const app::CatalogueLine& line : catalogue.programs) lines.push_back(line.text);
  for (const app::CatalogueLine& line : catalogue.dated) lines.push_back(line.text);
  return lines;
}

// Read by jobs on real threads, one a range, the catalogue is what reading it on one thread
// gives, whether it is taken at once or once the jobs are done; and nothing is read twice.
TEST(CatalogueReading, GivesWhatOneThreadReadsHoweverTheJobsAndTheTakingMeet) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 400, sim.files) +
                           Entries(kLm64, "B", 300, sim.files) + Entries(kCu, "C", 60, sim.files));
  const app::Options options = Everything();
  app::RemoteDrives drives(sim.files);
  sim::ReadLog serial_log(sim.registry);
  const std::vector<std::string> expected = Lines(app::ScanCatalogue(
      app::ScanSeams(serial_log, sim.files, drives), app::UninstallPasses(sim.registry), options));
  ASSERT_GT(expected.size(), 600u);
  for (const bool take_at_once : {true, false}) {
    platform::ThreadWorkers workers;
    sim::ReadLog log(sim.registry);
    platform::Platform reading{log,       sim.files, sim.processes, sim.launcher,   sim.windows,
                               sim.order, workers,   sim.icons,     sim.file_store, sim.streams};
    framework::TApplication application(reading);
    app::CatalogueReading read(application.Jobs(), reading,
                               std::make_shared<app::RemoteDrives>(sim.files), options);
    if (!take_at_once) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Lines(read.Take()), expected) << take_at_once;
    EXPECT_EQ(log.Count(), serial_log.Count()) << take_at_once;
    EXPECT_EQ(sim.registry.OpenHandleCount(), 0u) << take_at_once;
  }
}

// The machine's pass is split into ranges of 32 entries at least, the user's is one; the jobs
// begin with the largest, so that a small pass's range does not keep a thread busy at the end.
TEST(CatalogueReading, OneJobARangeLargestFirst) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 200, sim.files) +
                           Entries(kCu, "C", 20, sim.files));
  platform::Platform bound = sim.Bind();
  framework::TApplication application(bound);
  std::size_t started = 0;
  sim.workers.WatchStarts([&started] { ++started; });
  app::CatalogueReading read(application.Jobs(), bound,
                             std::make_shared<app::RemoteDrives>(sim.files), Everything());
  EXPECT_EQ(started, 200 / app::kMinRangeSize + 1);
  EXPECT_EQ(sim.files.Queries().at(0).substr(0, 9), "C:\\APPS\\A");
  app::RemoteDrives drives(sim.files);
  EXPECT_EQ(Lines(read.Take()),
            Lines(app::ScanCatalogue(app::ScanSeams(bound, drives),
                                     app::UninstallPasses(sim.registry), Everything())));
}

// A range whose job has not begun when the menus are built is not waited for: the GUI thread
// reads it, and the job, let go later, reads nothing. A reading never taken reads nothing.
TEST(CatalogueReading, AJobNotBegunIsReadInsteadOfAwaitedAndOneNeverTakenReadsNothing) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(kHeader + Entries(kLm32, "A", 40, sim.files));
  sim.workers.Hold(true);
  platform::Platform bound = sim.Bind();
  framework::TApplication application(bound);
  auto read = std::make_unique<app::CatalogueReading>(
      application.Jobs(), bound, std::make_shared<app::RemoteDrives>(sim.files), app::Options{});
  EXPECT_FALSE(Lines(read->Take()).empty());
  const std::size_t queried = sim.files.Queries().size();
  sim.workers.RunHeld();
  EXPECT_EQ(sim.files.Queries().size(), queried);
  auto never_taken = std::make_unique<app::CatalogueReading>(
      application.Jobs(), bound, std::make_shared<app::RemoteDrives>(sim.files), app::Options{});
  never_taken.reset();
  sim.workers.RunHeld();
  EXPECT_EQ(sim.files.Queries().size(), queried);
}

// A program started minimised waits for the user: its menu is read when it is restored.
TEST(CatalogueReading, StartsAtOnceUnlessTheProgramStartsMinimised) {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  framework::TApplication application(bound);
  EXPECT_NE(app::StartCatalogueReading(application, app::Options{}), nullptr);
  sim.windows.SetStartupShowState(platform::kSwShowMinNoActive);
  EXPECT_EQ(app::StartCatalogueReading(application, app::Options{}), nullptr);
}

}  // namespace
